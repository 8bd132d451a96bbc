#include "logbook/LogCommands.h"

#include "logbook/DeleteConfirmation.h"
#include "logbook/LogbookContext.h"
#include "logbook/ViewCommands.h"
#include "storage/SampleDateTable.h"
#include "storage/SampleTable.h"
#include "storage/SampleType.h"

using namespace ViewCommand;

namespace {

bool isKetones(int id) {
    return id >= KetonesFirst && id <= KetonesLast;
}
bool isLogType(int id) {
    return id >= LogTypeFirst && id <= LogTypeLast;
}
bool isDayType(int id) {
    return id >= DaySick && id <= DayActive;
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

} // namespace

bool LogCommands::handles(int id) {
    switch (id) {
    case NewEntry:
    case NewEntryHere:
    case ModifyEntry:
    case RemoveEntry:
    case ShowDayEntries:
    case HideDayEntries:
    case InfusionSite:
        return true;
    default:
        return isKetones(id) || isLogType(id) || isDayType(id) || deliveryCodeOf(id) >= 0;
    }
}

bool LogCommands::isEnabled(int id) const {
    return isEnabled(id, m_host.selection());
}

bool LogCommands::isEnabled(int id, const LogSelection& selection) const {
    const bool selected = !selection.rows.empty();
    switch (id) {
    case NewEntry:
    case NewEntryHere:
        return true;
    case ModifyEntry:
    case RemoveEntry:
        return selected;
    case InfusionSite:
        return selection.singleEntry();
    case ShowDayEntries:
    case HideDayEntries:
        return selection.singleDay();
    default:
        break;
    }
    if (deliveryCodeOf(id) >= 0)
        return selection.singleEntry();
    if (isKetones(id))
        return selected && selection.mark.tag == 'S';
    if (isLogType(id))
        return selected && selection.mark.tag == 'S' && id - LogTypeFirst < m_context.slotCount();
    if (isDayType(id))
        return selected && selection.mark.tag == 'D';
    return false;
}

bool LogCommands::isChecked(int id) const {
    const LogSelection selection = m_host.selection();
    if (!isEnabled(id, selection))
        return false;
    Database& db = m_context.database();
    if (isDayType(id)) {
        auto day = SampleDateTable::getByPk(db, selection.mark.pk);
        return day && day->getDayTypeId() == id - DaySick;
    }
    if (selection.mark.tag != 'S')
        return false;
    auto entry = SampleTable::getByPk(db, selection.mark.pk);
    if (!entry)
        return false;
    if (id == InfusionSite)
        return entry->getNewSiteBol();
    if (isKetones(id))
        return entry->getKeytoneCode() == id - KetonesFirst;
    if (isLogType(id))
        return m_context.slotAt(id - LogTypeFirst).getPk() == entry->getSampleTypePk();
    const int code = deliveryCodeOf(id);
    return code >= 0 && entry->getDeliveryCode() == code;
}

bool LogCommands::run(int id) {
    const LogSelection selection = m_host.selection();
    if (!handles(id) || !isEnabled(id, selection))
        return false;
    const LogRow* single = selection.single();
    const int mark = selection.mark.pk;
    switch (id) {
    case NewEntry:
    case NewEntryHere:
        m_host.newEntry(id == NewEntryHere);
        return true;
    case ModifyEntry:
        if (single)
            m_host.modify(*single);
        return true;
    case RemoveEntry:
        remove(selection);
        return true;
    case ShowDayEntries:
    case HideDayEntries:
        m_host.showDayEntries(id == ShowDayEntries);
        return true;
    case InfusionSite:
        if (m_actions.toggleInfusionSite(single->pk))
            m_host.changed();
        return true;
    default:
        break;
    }
    bool stored = false;
    if (deliveryCodeOf(id) >= 0)
        stored = m_actions.setDelivery(single->pk, deliveryCodeOf(id));
    else if (isKetones(id))
        stored = m_actions.setKetones(mark, id - KetonesFirst);
    else if (isLogType(id))
        stored = m_actions.setLogType(mark, m_context.slotAt(id - LogTypeFirst).getPk());
    else if (isDayType(id))
        stored = m_actions.setDayType(mark, id - DaySick);
    if (stored)
        m_host.changed();
    return true;
}

void LogCommands::remove(const LogSelection& selection) {
    if (!confirmDelete(m_context.database(), m_context.preference(), m_deleteQuestion)) {
        m_host.removed(selection.rows, {});
        return;
    }
    m_host.removed(selection.rows, m_actions.removeRows(selection.rows));
}
