#pragma once

// The commands of the logbook view. The numbers are the command ids the menus, the tool bar
// and the keys dispatch, and the ones the view posts to itself.
namespace ViewCommand {
enum Id {
    NewEntry = 32825,     // Edit menu, Insert key: new entry at the current time
    NewEntryHere = 32776, // context menus: new entry at the selection's time
    ModifyEntry = 32777,  // Enter, double click
    RemoveEntry = 32778,  // Delete
    Summarize = 32779,    // posted: retention clean-up, summarize, reload
    SummarizeAll = 32829, // Utilities menu
    Reload = 32775,       // posted
    KetonesFirst = 32784, // N/A, None, Small, Medium, Large: codes 0..4
    KetonesLast = 32788,
    LogTypeFirst = 32794, // the slots, in order
    LogTypeLast = 32801,
    DaySick = 32789, // kinds of day 0, 1, 2
    DayNormal = 32790,
    DayActive = 32791,
    ShowDayEntries = 32792,
    HideDayEntries = 32793,
    InfusionSite = 32842,
    DeliveryInjection = 32845, // delivery codes 1, 0, 2
    DeliveryPump = 32846,
    DeliveryOral = 32847,
    Preferences = 32774,
    Vitals = 32807,       // View menu: the vital history
    LogGraph = 32838,     // View menu: show or hide the graph strip
    ShowBalloon = 32852,  // View menu: entry balloons over the graph on or off
    RepaintGraph = 32839, // posted by the list before it scrolls; the graph's "Refresh"
};
} // namespace ViewCommand

// The graph strip's own commands.
namespace GraphCommand {
enum Id {
    Refresh = ViewCommand::RepaintGraph,
    HoverTick = 32840,      // its timer: has the cursor come to rest?
    BalloonClicked = 32841, // the balloon was clicked: edit the hovered row
};
} // namespace GraphCommand
