#pragma once

#include "logbook/LogCommands.h"
#include "logbook/LogRows.h"
#include "logbook/LogbookActions.h"
#include "reports/ReportPrintSettings.h"

#include <QWidget>
#include <functional>

class DeleteQuestion;
class LogGraphWnd;
class LogbookContext;
class Progress;
class QMenu;
class Sample;
class SampleListCtrl;
class ViewSettings;

// The one view of the main window: the logbook list and every command that acts on days and
// entries. The commands on days and entries are those of every logbook list (LogCommands);
// this class adds its own, turns keys and menus into commands and keeps the list in step
// (reload when rows come or go, repaint otherwise).
class CQuillmarchView : public QWidget, private LogCommandHost {
    Q_OBJECT
public:
    CQuillmarchView(LogbookContext& context, Progress& progress, DeleteQuestion& deleteQuestion,
                    QWidget* parent = nullptr);

    // Where the log type filter's value comes from at each reload (the frame's drop-down);
    // without one the view shows all types.
    void setFilterSource(std::function<int()> source) { m_filterSource = std::move(source); }
    // The entry editor: edits the record in place and answers the stored entry's PK, or 0
    // when cancelled. Without one, New and Modify of entries do nothing.
    void setEntryEditor(std::function<int(Sample&)> editor) { m_editEntry = std::move(editor); }
    // The day editor: answers true when the day was changed. The list is read again when it
    // returns, since its entries page may have stored entries however it closed.
    void setDayEditor(std::function<bool(int dayPk)> editor) { m_editDay = std::move(editor); }
    // The preferences sheet: answers true when it closed with OK.
    void setPreferencesEditor(std::function<bool()> editor) {
        m_editPreferences = std::move(editor);
    }
    // The vital history, a modal dialog of its own; without one "Vitals" does nothing.
    void setVitalsEditor(std::function<void()> editor) { m_editVitals = std::move(editor); }

    // The current patient's display switches (graph, balloons). Without any the view keeps
    // them in memory, starting with the graph shown and balloons off. The graph is shown or
    // hidden to match once the current event has been handled.
    void setViewSettings(ViewSettings* settings);

    // Runs a command now; false when it is not one of the view's or is disabled.
    bool runCommand(int id);
    // Runs a command after the current event has been handled.
    void postCommand(int id);
    bool isCommandEnabled(int id) const;
    bool isCommandChecked(int id) const;

    void reload();
    void repaintList();
    // Hands a prepared new entry (the quick bolus's, say) to the entry editor; a stored
    // entry is selected in the reloaded list. Returns its PK, or 0 when cancelled.
    int newEntryFrom(Sample& entry);

    // The choices of the print sheet, kept from one print to the next while the program runs;
    // both dates start at the moment the view was made.
    ReportPrintSettings& printSettings() { return m_printSettings; }
    // Set while a print job of the view runs.
    void setPrinting(bool printing) { m_printing = printing; }
    bool isPrinting() const { return m_printing; }

    SampleListCtrl* list() const { return m_list; }
    // The graph strip, present exactly while it is shown.
    LogGraphWnd* graph() const { return m_graph; }
    LogCommands& commands() { return m_commands; }
    int filter() const { return m_filter; }

signals:
    // The data behind the list changed (for the graph and the status bar).
    void logbookChanged();
    // The patient's settings were edited: slot names, the patient's name and the ranges may
    // have changed (for the log type filter and the window title).
    void settingsChanged();

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // LogCommandHost
    LogSelection selection() const override;
    void newEntry(bool atSelection) override;
    void modify(const LogRow& row) override;
    void removed(const std::vector<LogRow>& rows, const LogbookActions::Removal& removal) override;
    void changed() override;
    void showDayEntries(bool show) override;

    // Fills the list; a limit above 0 keeps only that many rows of its beginning.
    void reloadRows(std::size_t limit);
    void openContextMenu(const QPoint& globalPos);
    void editPreferences();
    void onKeyReleased(int key);

    // The graph strip and its switches.
    QString setting(const char* name) const;
    void writeSetting(const char* name, bool on);
    bool balloonsOn() const;
    void showGraph();
    void hideGraph();
    // Shows or hides the graph as the patient's setting says.
    void applyGraphSetting();
    void layoutChildren();
    void repaintGraph();

    LogbookContext& m_context;
    Progress& m_progress;
    LogbookActions m_actions;
    LogCommands m_commands;
    SampleListCtrl* m_list;
    LogGraphWnd* m_graph = nullptr;
    ViewSettings* m_viewSettings = nullptr;
    // The switches while no settings are given.
    QString m_memoryGraph;
    QString m_memoryBalloon;
    std::function<int()> m_filterSource;
    std::function<int(Sample&)> m_editEntry;
    std::function<bool(int)> m_editDay;
    std::function<bool()> m_editPreferences;
    std::function<void()> m_editVitals;
    int m_filter = LogFilter::AllTypes;
    LogRow m_reselect{0, 0};
    bool m_firstShown = false;
    // The first load shows the newest screenful and, once it is painted, brings in the rest
    // of the rows and clears away orphaned notes.
    bool m_firstScreenFirst = false;
    bool m_restPending = false;
    ReportPrintSettings m_printSettings;
    bool m_printing = false;
};
