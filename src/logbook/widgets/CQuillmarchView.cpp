#include "logbook/widgets/CQuillmarchView.h"

#include "logbook/LogbookContext.h"
#include "logbook/ViewCommands.h"
#include "logbook/ViewSettings.h"
#include "logbook/widgets/EntryMenu.h"
#include "logbook/widgets/LogGraphWnd.h"
#include "logbook/widgets/SampleListCtrl.h"
#include "logbook/widgets/SampleListModel.h"
#include "storage/Clock.h"
#include "storage/Conversions.h"
#include "storage/Preference.h"
#include "storage/SampleDateTable.h"
#include "storage/SampleTable.h"
#include "ui/Progress.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QMenu>
#include <QMetaObject>
#include <utility>

using namespace ViewCommand;

namespace {

// The start's work that the first screen does not need; posted below the priority of
// painting, so that the first screen is painted before it runs.
const QEvent::Type kAfterFirstScreen = static_cast<QEvent::Type>(QEvent::registerEventType());

} // namespace

CQuillmarchView::CQuillmarchView(LogbookContext& context, Progress& progress,
                                 DeleteQuestion& deleteQuestion, QWidget* parent)
    : QWidget(parent), m_context(context), m_progress(progress), m_actions(context),
      m_commands(context, deleteQuestion, *this), m_list(new SampleListCtrl(context, this)) {
    m_printSettings.periodEnd = context.clock().now();
    m_printSettings.worksheetStart = m_printSettings.periodEnd;
    m_list->setCompact(false);
    m_list->insertColumns();
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_list, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { openContextMenu(m_list->viewport()->mapToGlobal(pos)); });
    connect(m_list, &SampleListCtrl::keyReleased, this, &CQuillmarchView::onKeyReleased);
    connect(m_list, &QAbstractItemView::doubleClicked, this, [this] { runCommand(ModifyEntry); });
    // The graph follows the list: it is drawn again once the rows have scrolled, and whenever
    // the rows or their values change.
    connect(m_list, &SampleListCtrl::aboutToScroll, this, [this] { postCommand(RepaintGraph); });
    connect(this, &CQuillmarchView::logbookChanged, this, &CQuillmarchView::repaintGraph);
    // The graph comes once the view is in place.
    QMetaObject::invokeMethod(this, &CQuillmarchView::applyGraphSetting, Qt::QueuedConnection);
}

void CQuillmarchView::setViewSettings(ViewSettings* settings) {
    m_viewSettings = settings;
    QMetaObject::invokeMethod(this, &CQuillmarchView::applyGraphSetting, Qt::QueuedConnection);
}

QString CQuillmarchView::setting(const char* name) const {
    if (m_viewSettings)
        return m_viewSettings->value(name);
    return qstrcmp(name, ViewSetting::kShowLogGraph) == 0 ? m_memoryGraph : m_memoryBalloon;
}

void CQuillmarchView::writeSetting(const char* name, bool on) {
    const QString text = on ? QStringLiteral("true") : QStringLiteral("false");
    if (m_viewSettings)
        m_viewSettings->setValue(name, text);
    else
        (qstrcmp(name, ViewSetting::kShowLogGraph) == 0 ? m_memoryGraph : m_memoryBalloon) = text;
}

bool CQuillmarchView::balloonsOn() const {
    return setting(ViewSetting::kShowBalloon) == QLatin1String("true");
}

void CQuillmarchView::applyGraphSetting() {
    const QString shown = setting(ViewSetting::kShowLogGraph);
    const bool wanted = shown.isEmpty() || shown == QLatin1String("true");
    if (wanted && !m_graph)
        showGraph();
    else if (!wanted && m_graph)
        hideGraph();
    else if (m_graph)
        m_graph->setBalloonSwitch(balloonsOn());
}

void CQuillmarchView::showGraph() {
    writeSetting(ViewSetting::kShowLogGraph, true);
    m_graph = new LogGraphWnd(m_context, *m_list, this);
    connect(m_graph, &LogGraphWnd::editRequested, this, [this] { postCommand(ModifyEntry); });
    layoutChildren();
    m_graph->setBalloonSwitch(balloonsOn());
    m_graph->show();
}

void CQuillmarchView::hideGraph() {
    writeSetting(ViewSetting::kShowLogGraph, false);
    delete std::exchange(m_graph, nullptr);
    layoutChildren();
}

void CQuillmarchView::repaintGraph() {
    if (m_graph)
        m_graph->runCommand(GraphCommand::Refresh);
}

void CQuillmarchView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_firstShown)
        return;
    m_firstShown = true;
    m_firstScreenFirst = true;
    // The first thing the patient sees is the retention question (when due), then the
    // summarizing progress (when days are out of date), then the list.
    postCommand(Summarize);
}

void CQuillmarchView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutChildren();
}

void CQuillmarchView::layoutChildren() {
    // The list's border overlaps the view's edge by one pixel on every side; the graph's
    // strip along the bottom hides its left and right border the same way.
    if (!m_graph) {
        m_list->setGeometry(-1, -1, width() + 2, height() + 2);
        return;
    }
    const int strip = LogGraphWnd::kHeight;
    m_list->setGeometry(-1, -1, width() + 2, height() - strip + 1);
    m_graph->setGeometry(-1, height() - strip, width() + 2, strip);
}

void CQuillmarchView::postCommand(int id) {
    QMetaObject::invokeMethod(
        this, [this, id] { runCommand(id); }, Qt::QueuedConnection);
}

bool CQuillmarchView::isCommandEnabled(int id) const {
    if (id == ShowBalloon)
        return m_graph != nullptr;
    return LogCommands::handles(id) ? m_commands.isEnabled(id) : true;
}

bool CQuillmarchView::isCommandChecked(int id) const {
    switch (id) {
    case LogGraph:
        return m_graph != nullptr;
    case ShowBalloon:
        return m_graph && balloonsOn();
    default:
        return m_commands.isChecked(id);
    }
}

bool CQuillmarchView::runCommand(int id) {
    switch (id) {
    case Summarize:
        if (std::exchange(m_firstScreenFirst, false)) {
            // The patient sees the same questions, progress and rows in the same order; only
            // the clean-up of notes nobody refers to and the rows below the first screen
            // wait until that screen is painted.
            m_actions.summarizeCommand(m_progress, false);
            QMetaObject::invokeMethod(
                this,
                [this] {
                    reloadRows(m_list->rowsPerScreen());
                    QCoreApplication::postEvent(this, new QEvent(kAfterFirstScreen),
                                                Qt::LowEventPriority - 1);
                },
                Qt::QueuedConnection);
        } else {
            m_actions.summarizeCommand(m_progress);
            postCommand(Reload);
        }
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
    case LogGraph:
        if (m_graph)
            hideGraph();
        else
            showGraph();
        return true;
    case ShowBalloon: {
        if (!m_graph)
            return false;
        const bool on = !balloonsOn();
        writeSetting(ViewSetting::kShowBalloon, on);
        m_graph->setBalloonSwitch(on);
        return true;
    }
    case RepaintGraph:
        repaintGraph();
        return true;
    case Vitals:
        // The vital history is kept beside the logbook: nothing in the list changes.
        if (m_editVitals)
            m_editVitals();
        return true;
    default:
        return m_commands.run(id);
    }
}

LogSelection CQuillmarchView::selection() const {
    return m_list->selection();
}

bool CQuillmarchView::event(QEvent* event) {
    if (event->type() != kAfterFirstScreen)
        return QWidget::event(event);
    // Posted once, by the first load: the clean-up it held back runs now.
    m_actions.deleteOrphanNotes();
    if (std::exchange(m_restPending, false)) {
        m_list->model()->completeRows(buildLogRows(m_context.database(), m_filter));
        emit logbookChanged();
    }
    return true;
}

void CQuillmarchView::reload() {
    reloadRows(0);
}

void CQuillmarchView::reloadRows(std::size_t limit) {
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
    m_list->model()->setRows(buildLogRows(m_context.database(), m_filter, limit));
    if (m_reselect.pk != 0)
        m_list->reselect(m_reselect);
    m_reselect = {0, 0};
    m_list->setUpdatesEnabled(true);
    m_list->viewport()->update();
    // Only a first screen that came out full leaves rows to read; any other load reads all.
    m_restPending = limit > 0 && m_list->model()->rowCount() >= static_cast<int>(limit);
    emit logbookChanged();
}

void CQuillmarchView::repaintList() {
    m_list->viewport()->update();
    emit logbookChanged();
}

void CQuillmarchView::newEntry(bool atSelection) {
    QString time = toDateTimeText(m_context.clock().now());
    const LogSelection selected = selection();
    const LogRow* single = atSelection ? selected.single() : nullptr;
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

void CQuillmarchView::modify(const LogRow& row) {
    if (row.tag == 'D') {
        if (m_editDay) {
            // The dialog's entries page stores what it adds, changes and removes at once,
            // whether the dialog then closes with OK or not: the rows are read again either
            // way, with the day still selected.
            m_editDay(row.pk);
            m_reselect = row;
            reload();
        }
        m_list->setFocus();
        return;
    }
    auto entry = SampleTable::getByPk(m_context.database(), row.pk);
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

void CQuillmarchView::removed(const std::vector<LogRow>& rows,
                              const LogbookActions::Removal& removal) {
    if (removal.dayRemoved) {
        reload();
        return;
    }
    m_list->model()->removeLogRows(removal.removedEntryRows, rows);
    repaintList();
    m_list->setFocus();
}

void CQuillmarchView::changed() {
    repaintList();
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
    m_list->model()->setDayExpanded(m_context.database(), m_list->selectionMark(), show);
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

void CQuillmarchView::openContextMenu(const QPoint& globalPos) {
    QMenu menu(this);
    EntryMenu::fill(menu, m_commands);
    if (!menu.isEmpty())
        menu.exec(globalPos);
}
