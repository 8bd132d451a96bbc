#pragma once

#include <QString>
#include <functional>

class LogbookContext;
class QMenu;
class SampleAbs;

// The entry context menu shared by the logbook view and the day dialog's entries page:
// the same items, the same check marks, whichever list the entry is shown in.
namespace EntryMenu {

// Adds one command item to a menu; the owner decides enabling and what it runs.
using AddCommand = std::function<void(QMenu& menu, const QString& text, int id)>;

// New, Modify and Remove, then Log Type (the patient's own slots), Ketones, Infusion Site
// and Delivery.
void fill(QMenu& menu, LogbookContext& context, const AddCommand& add);

// Whether an item shows a check mark for the entry: its ketone result, slot, delivery and
// site change.
bool isChecked(LogbookContext& context, const SampleAbs& entry, int id);

// Adds a command item that is enabled and checked as its owner says and runs `run` when
// chosen; the item form of both menus.
void addItem(QMenu& menu, const QString& text, bool enabled, bool checked,
             std::function<void()> run);

// The delivery code an item of the Delivery submenu stores, or -1 for other items.
int deliveryCodeOf(int id);

} // namespace EntryMenu
