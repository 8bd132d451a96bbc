#include "logbook/widgets/EntryMenu.h"

#include "logbook/LogbookContext.h"
#include "logbook/ViewCommands.h"
#include "storage/Conversions.h"
#include "storage/Sample.h"
#include "storage/SampleType.h"

#include <QMenu>
#include <algorithm>

using namespace ViewCommand;

namespace EntryMenu {

namespace {

const char* const kKetoneNames[] = {"N/A", "None", "Small", "Medium", "Large"};

} // namespace

void fill(QMenu& menu, LogbookContext& context, const AddCommand& add) {
    add(menu, QStringLiteral("New Log Entry ..."), NewEntryHere);
    add(menu, QStringLiteral("Modify Log Entry ..."), ModifyEntry);
    add(menu, QStringLiteral("Remove Log Entry ..."), RemoveEntry);
    menu.addSeparator();
    // The patient's own slots, so that the menu matches whatever slots the patient keeps.
    QMenu* logType = menu.addMenu(QStringLiteral("Log Type"));
    const int shown = std::min(context.slotCount(), LogTypeLast - LogTypeFirst + 1);
    for (int i = 0; i < shown; ++i)
        add(*logType, context.slotAt(i).getDesc(), LogTypeFirst + i);
    QMenu* ketones = menu.addMenu(QStringLiteral("Ketones"));
    for (int code = 0; code <= KetonesLast - KetonesFirst; ++code)
        add(*ketones, QString::fromLatin1(kKetoneNames[code]), KetonesFirst + code);
    add(menu, QStringLiteral("Infusion Site"), InfusionSite);
    QMenu* delivery = menu.addMenu(QStringLiteral("Delivery"));
    add(*delivery, QStringLiteral("Injection"), DeliveryInjection);
    add(*delivery, QStringLiteral("Pump"), DeliveryPump);
    add(*delivery, QStringLiteral("Oral"), DeliveryOral);
}

bool isChecked(LogbookContext& context, const SampleAbs& entry, int id) {
    if (id == InfusionSite)
        return entry.getNewSiteBol();
    if (id >= KetonesFirst && id <= KetonesLast)
        return entry.getKeytoneCode() == id - KetonesFirst;
    if (id >= LogTypeFirst && id <= LogTypeLast) {
        const int index = id - LogTypeFirst;
        return index < context.slotCount() &&
               context.slotAt(index).getPk() == entry.getSampleTypePk();
    }
    const int code = deliveryCodeOf(id);
    return code >= 0 && entry.getDeliveryCode() == code;
}

void addItem(QMenu& menu, const QString& text, bool enabled, bool checked,
             std::function<void()> run) {
    QAction* action = menu.addAction(text);
    action->setEnabled(enabled);
    if (checked) {
        action->setCheckable(true);
        action->setChecked(true);
    }
    QObject::connect(action, &QAction::triggered, &menu, std::move(run));
}

int deliveryCodeOf(int id) {
    switch (id) {
    case DeliveryInjection:
        return kDeliveryInjection;
    case DeliveryPump:
        return kDeliveryPump;
    case DeliveryOral:
        return kDeliveryOral;
    default:
        return -1;
    }
}

} // namespace EntryMenu
