#include "logbook/widgets/CQuillmarchView.h"

#include "logbook/DeleteConfirmation.h"
#include "logbook/LogbookContext.h"
#include "logbook/ViewCommands.h"
#include "logbook/widgets/EntryMenu.h"
#include "logbook/widgets/SampleListCtrl.h"
#include "logbook/widgets/SampleListModel.h"
#include "storage/Clock.h"
#include "storage/Conversions.h"
#include "storage/Preference.h"
#include "storage/SampleDateTable.h"
#include "storage/SampleTable.h"
#include "storage/SampleTypeTable.h"
#include "ui/Progress.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMetaObject>

using namespace ViewCommand;

CQuillmarchView::CQuillmarchView(LogbookContext& context, Progress& progress,
                                 DeleteQuestion& deleteQuestion, QWidget* parent)
    : QWidget(parent), m_context(context), m_progress(progress), m_deleteQuestion(deleteQuestion),
      m_actions(context), m_list(new SampleListCtrl(context, this)) {
    m_list->setCompact(false);
    m_list->insertColumns();
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_list, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { openContextMenu(m_list->viewport()->mapToGlobal(pos)); });
    connect(m_list, &SampleListCtrl::keyReleased, this, &CQuillmarchView::onKeyReleased);
    connect(m_list, &QAbstractItemView::doubleClicked, this, [this] { runCommand(ModifyEntry); });
}

void CQuillmarchView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_firstShown)
        return;
    m_firstShown = true;
    // The first thing the patient sees is the retention question (when due), then the
    // summarizing progress (when days are out of date), then the list.
    postCommand(Summarize);
}

void CQuillmarchView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The list's border overlaps the view's edge by one pixel on every side.
    m_list->setGeometry(-1, -1, width() + 2, height() + 2);
}

void CQuillmarchView::postCommand(int id) {
    QMetaObject::invokeMethod(
        this, [this, id] { runCommand(id); }, Qt::QueuedConnection);
}

bool CQuillmarchView::isCommandEnabled(int id) const {
    switch (id) {
    case ModifyEntry:
    case RemoveEntry:
        return !m_list->selectedRows().empty();
    case InfusionSite: {
        const LogRow* row = singleSelection();
        return row && row->tag != 'D';
    }
    default:
        return true;
    }
}

bool CQuillmarchView::isCommandChecked(int id) const {
    const LogRow* row = singleSelection();
    if (!row)
        return false;
    Database& db = m_context.database();
    if (id >= DaySick && id <= DayActive && row->tag == 'D') {
        auto day = SampleDateTable::getByPk(db, row->pk);
        return day && day->getDayTypeId() == id - DaySick;
    }
    if (row->tag == 'D')
        return false;
    auto entry = SampleTable::getByPk(db, row->pk);
    return entry && EntryMenu::isChecked(m_context, *entry, id);
}

bool CQuillmarchView::runCommand(int id) {
    if (!isCommandEnabled(id))
        return false;
    const LogRow* single = singleSelection();
    int mark = m_list->selectionMark();
    const LogRow* markRow = mark >= 0 ? &m_list->model()->rowAt(mark) : nullptr;
    switch (id) {
    case NewEntry:
        newEntry(false);
        return true;
    case NewEntryHere:
        newEntry(true);
        return true;
    case ModifyEntry:
        modifyEntry();
        return true;
    case RemoveEntry:
        removeSelected();
        return true;
    case Summarize:
        m_actions.summarizeCommand(m_progress);
        postCommand(Reload);
        return true;
    case SummarizeAll:
        SampleDateTable::markAllUnsummarized(m_context.database());
        postCommand(Summarize);
        return true;
    case Reload:
        reload();
        return true;
    case Preferences:
        editPreferences();
        return true;
    case DaySick:
    case DayNormal:
    case DayActive:
        if (markRow && markRow->tag == 'D' && m_actions.setDayType(markRow->pk, id - DaySick))
            m_list->viewport()->update();
        return true;
    case ShowDayEntries:
    case HideDayEntries:
        showDayEntries(id == ShowDayEntries);
        return true;
    case InfusionSite:
        if (single && m_actions.toggleInfusionSite(single->pk))
            repaintList();
        return true;
    case DeliveryInjection:
    case DeliveryPump:
    case DeliveryOral:
        if (single && single->tag != 'D' &&
            m_actions.setDelivery(single->pk, EntryMenu::deliveryCodeOf(id)))
            repaintList();
        return true;
    default:
        break;
    }
    if (id >= KetonesFirst && id <= KetonesLast) {
        if (markRow && markRow->tag != 'D' && m_actions.setKetones(markRow->pk, id - KetonesFirst))
            m_list->viewport()->update();
        return true;
    }
    if (id >= LogTypeFirst && id <= LogTypeLast) {
        int index = id - LogTypeFirst;
        if (markRow && markRow->tag != 'D' && index < m_context.slotCount() &&
            m_actions.setLogType(markRow->pk, m_context.slotAt(index).getPk()))
            m_list->viewport()->update();
        return true;
    }
    return false;
}

void CQuillmarchView::reload() {
    // The preference is read again so that the list draws with the stored settings.
    m_context.reloadPreference();
    if (m_reselect.pk == 0) {
        int mark = m_list->selectionMark();
        if (mark >= 0 && !m_list->selectedRows().empty())
            m_reselect = m_list->model()->rowAt(mark);
    }
    m_filter = m_filterSource ? m_filterSource() : LogFilter::AllTypes;
    m_list->setFilter(m_filter);
    m_list->setUpdatesEnabled(false);
    m_list->model()->setRows(buildLogRows(m_context.database(), m_filter));
    if (m_reselect.pk != 0)
        m_list->reselect(m_reselect);
    m_reselect = {0, 0};
    m_list->setUpdatesEnabled(true);
    m_list->viewport()->update();
    emit logbookChanged();
}

void CQuillmarchView::repaintList() {
    m_list->viewport()->update();
    emit logbookChanged();
}

void CQuillmarchView::newEntry(bool atSelection) {
    QString time = toDateTimeText(m_context.clock().now());
    const LogRow* single = atSelection ? singleSelection() : nullptr;
    if (single && single->tag == 'D') {
        if (auto day = SampleDateTable::getByPk(m_context.database(), single->pk))
            time = padDateText(day->getSampleDate());
    } else if (single) {
        if (auto entry = SampleTable::getByPk(m_context.database(), single->pk))
            time = entry->getSampleTime();
    }
    Sample entry;
    entry.setSampleTime(time);
    newEntryFrom(entry);
}

int CQuillmarchView::newEntryFrom(Sample& entry) {
    int pk = m_editEntry ? m_editEntry(entry) : 0;
    if (pk != 0) {
        m_reselect = {'S', pk};
        reload();
    }
    m_list->setFocus();
    return pk;
}

void CQuillmarchView::modifyEntry() {
    const LogRow* single = singleSelection();
    if (!single)
        return;
    if (single->tag == 'D') {
        if (m_editDay && m_editDay(single->pk))
            repaintList();
        m_list->setFocus();
        return;
    }
    auto entry = SampleTable::getByPk(m_context.database(), single->pk);
    if (!entry || !m_editEntry)
        return;
    const QString before = entry->getSampleTime().left(12);
    int pk = m_editEntry(*entry);
    if (pk != 0) {
        m_reselect = {'S', pk};
        // An entry moved in time may have moved to another day: rows change places.
        if (entry->getSampleTime().left(12) != before) {
            reload();
        } else {
            m_list->reselect(m_reselect);
            m_reselect = {0, 0};
            repaintList();
        }
    }
    m_list->setFocus();
}

void CQuillmarchView::removeSelected() {
    std::vector<LogRow> rows = selectedLogRows();
    if (rows.empty())
        return;
    if (!confirmDelete(m_context.database(), m_context.preference(), m_deleteQuestion)) {
        m_list->setFocus();
        return;
    }
    LogbookActions::Removal removal = m_actions.removeRows(rows);
    if (removal.dayRemoved) {
        reload();
    } else {
        m_list->model()->removeLogRows(removal.removedEntryRows, rows);
        repaintList();
        m_list->setFocus();
    }
}

void CQuillmarchView::editPreferences() {
    if (!m_editPreferences)
        return;
    m_editPreferences();
    // The list pages store as they go and Apply stores the preference record, so even a
    // cancelled sheet may have changed what the caches hold: they are always read again,
    // and the glucose colours, slot names and times are drawn from the new values.
    m_context.reloadPreference();
    emit settingsChanged();
    reload();
}

void CQuillmarchView::showDayEntries(bool show) {
    const LogRow* single = singleSelection();
    if (!single || single->tag != 'D')
        return;
    m_list->model()->setDayExpanded(m_context.database(), m_list->selectionMark(), show);
}

std::vector<LogRow> CQuillmarchView::selectedLogRows() const {
    std::vector<LogRow> rows;
    for (int index : m_list->selectedRows())
        rows.push_back(m_list->model()->rowAt(index));
    return rows;
}

const LogRow* CQuillmarchView::singleSelection() const {
    auto selected = m_list->selectedRows();
    if (selected.size() != 1)
        return nullptr;
    return &m_list->model()->rowAt(selected.front());
}

void CQuillmarchView::onKeyReleased(int key) {
    switch (key) {
    case Qt::Key_Delete:
        runCommand(RemoveEntry);
        break;
    case Qt::Key_Insert:
        runCommand(NewEntry);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        runCommand(ModifyEntry);
        break;
    default:
        break;
    }
}

void CQuillmarchView::addCommand(QMenu& menu, const QString& text, int id) {
    EntryMenu::addItem(menu, text, isCommandEnabled(id), isCommandChecked(id),
                       [this, id] { runCommand(id); });
}

void CQuillmarchView::fillEntryMenu(QMenu& menu) {
    EntryMenu::fill(menu, m_context, [this](QMenu& into, const QString& text, int id) {
        addCommand(into, text, id);
    });
}

void CQuillmarchView::fillDayMenu(QMenu& menu) {
    addCommand(menu, QStringLiteral("New Log Entry ..."), NewEntryHere);
    addCommand(menu, QStringLiteral("Modify Log Entry ..."), ModifyEntry);
    addCommand(menu, QStringLiteral("Remove Log Entry ..."), RemoveEntry);
    menu.addSeparator();
    QMenu* dayType = menu.addMenu(QStringLiteral("Day Type"));
    addCommand(*dayType, QStringLiteral("Sick"), DaySick);
    addCommand(*dayType, QStringLiteral("Normal"), DayNormal);
    addCommand(*dayType, QStringLiteral("Active"), DayActive);
    menu.addSeparator();
    addCommand(menu, QStringLiteral("Show all entries for this day"), ShowDayEntries);
    addCommand(menu, QStringLiteral("Hide all entries for this day"), HideDayEntries);
}

void CQuillmarchView::openContextMenu(const QPoint& globalPos) {
    const LogRow* single = singleSelection();
    if (!single)
        return;
    QMenu menu(this);
    if (single->tag == 'D')
        fillDayMenu(menu);
    else
        fillEntryMenu(menu);
    menu.exec(globalPos);
}
