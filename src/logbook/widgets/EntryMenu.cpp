#include "logbook/widgets/EntryMenu.h"

#include "logbook/LogCommands.h"
#include "logbook/LogbookContext.h"
#include "logbook/ViewCommands.h"
#include "storage/SampleType.h"

#include <QMenu>
#include <algorithm>

using namespace ViewCommand;

namespace EntryMenu {

namespace {

const char* const kKetoneNames[] = {"N/A", "None", "Small", "Medium", "Large"};

void add(QMenu& menu, LogCommands& commands, const QString& text, int id) {
    QAction* action = menu.addAction(text);
    action->setEnabled(commands.isEnabled(id));
    if (commands.isChecked(id)) {
        action->setCheckable(true);
        action->setChecked(true);
    }
    QObject::connect(action, &QAction::triggered, &menu, [&commands, id] { commands.run(id); });
}

void addCommon(QMenu& menu, LogCommands& commands) {
    add(menu, commands, QStringLiteral("New Log Entry ..."), NewEntryHere);
    add(menu, commands, QStringLiteral("Modify Log Entry ..."), ModifyEntry);
    add(menu, commands, QStringLiteral("Remove Log Entry ..."), RemoveEntry);
    menu.addSeparator();
}

void fillDay(QMenu& menu, LogCommands& commands) {
    addCommon(menu, commands);
    QMenu* dayType = menu.addMenu(QStringLiteral("Day Type"));
    add(*dayType, commands, QStringLiteral("Sick"), DaySick);
    add(*dayType, commands, QStringLiteral("Normal"), DayNormal);
    add(*dayType, commands, QStringLiteral("Active"), DayActive);
    menu.addSeparator();
    add(menu, commands, QStringLiteral("Show all entries for this day"), ShowDayEntries);
    add(menu, commands, QStringLiteral("Hide all entries for this day"), HideDayEntries);
}

void fillEntry(QMenu& menu, LogCommands& commands) {
    addCommon(menu, commands);
    // The patient's own slots, so that the menu matches whatever slots the patient keeps.
    LogbookContext& context = commands.context();
    QMenu* logType = menu.addMenu(QStringLiteral("Log Type"));
    const int shown = std::min(context.slotCount(), LogTypeLast - LogTypeFirst + 1);
    for (int i = 0; i < shown; ++i)
        add(*logType, commands, context.slotAt(i).getDesc(), LogTypeFirst + i);
    QMenu* ketones = menu.addMenu(QStringLiteral("Ketones"));
    for (int code = 0; code <= KetonesLast - KetonesFirst; ++code)
        add(*ketones, commands, QString::fromLatin1(kKetoneNames[code]), KetonesFirst + code);
    add(menu, commands, QStringLiteral("Infusion Site"), InfusionSite);
    QMenu* delivery = menu.addMenu(QStringLiteral("Delivery"));
    add(*delivery, commands, QStringLiteral("Injection"), DeliveryInjection);
    add(*delivery, commands, QStringLiteral("Pump"), DeliveryPump);
    add(*delivery, commands, QStringLiteral("Oral"), DeliveryOral);
}

} // namespace

void fill(QMenu& menu, LogCommands& commands) {
    const LogSelection selection = commands.selection();
    if (!selection.single())
        return;
    if (selection.singleDay())
        fillDay(menu, commands);
    else
        fillEntry(menu, commands);
}

} // namespace EntryMenu
