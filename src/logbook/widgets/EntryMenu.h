#pragma once

class LogCommands;
class QMenu;

// The context menus of the logbook lists, built from the commands of the list's owner: the
// day menu when the only selected row is a day, the entry menu otherwise. Every item is
// enabled and checked as the commands say and runs its command when chosen.
namespace EntryMenu {

// Fills the menu for the present selection; leaves it empty unless exactly one row is
// selected.
void fill(QMenu& menu, LogCommands& commands);

} // namespace EntryMenu
