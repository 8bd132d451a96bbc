#pragma once

#include <QMainWindow>
#include <functional>
#include <map>
#include <memory>

class CQuillmarchApp;
class CQuillmarchView;
class DatabaseMaintenance;
class FileDialogs;
class HotSyncApi;
class UpdateCheckCommand;
class OptimizeWaitWindow;
struct ExchangeWindow;
class QAction;
class QComboBox;
class QMenu;
class QPrinter;
class QUrl;
class QtFileDialogs;
class ReportPrintCommands;

// The main window: menus, the tool bar with the log type filter, the status bar, and the
// logbook view in the middle. Menu items dispatch command ids to the view or the application.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    CMainFrame(CQuillmarchApp& app, CQuillmarchView& view, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Rebuilds the log type filter from the cached slots, keeping the selected position.
    void rebuildFilter();
    int filterValue() const;
    QComboBox* filterBox() const { return m_filter; }
    // The title follows the current patient.
    void updateTitle();
    // Places the window on the desktop the way it opens at start-up.
    void placeOnDesktop();

    // The side logs kept beside the logbook, each a modal dialog of its own; without one its
    // menu item does nothing.
    void setFoodsEditor(std::function<void()> editor) { m_editFoods = std::move(editor); }
    void setA1cEditor(std::function<void()> editor) { m_editA1c = std::move(editor); }

    // How web pages are opened (the platform's browser by default); tests see the address.
    void setUrlOpener(std::function<bool(const QUrl&)> opener) { m_openUrl = std::move(opener); }

    // The handheld's sync manager behind "Palm Support" (the system's own by default).
    void setHotSync(std::unique_ptr<HotSyncApi> api);
    // "Check for updates", with its server and the reminder at start-up.
    UpdateCheckCommand& updateCheck() const { return *m_updateCheck; }

    // The database import of File > Import, with the file taken from `files`.
    void importDatabaseFrom(FileDialogs& files);

    // The action of a command id, for tests and the tool bar.
    QAction* action(int id) const;

    // The printer every print, preview and page set-up of this window uses.
    QPrinter& printer() const { return *m_printer; }
    ReportPrintCommands& printCommands() const { return *m_printCommands; }

signals:
    // Another patient was chosen or created; the caller switches what depends on it.
    void patientChanged();

private:
    void buildMenus();
    QAction* addViewCommand(QMenu* menu, const QString& text, int id);
    QAction* addFrameCommand(QMenu* menu, const QString& text, int id,
                             std::function<void()> command);
    DatabaseMaintenance maintenance();
    ExchangeWindow exchangeWindow();
    // After an import or a restore: the caches, the filter and the list are read again.
    void patientDataReplaced();
    // The modeless "Optimizing ..... Please Wait!" window while the file is compacted.
    void showOptimizing(bool shown);
    void newUser();
    void openUser();
    void about();
    void updateEnabling();
    // The calculator is offered only while its settings switch it on.
    void readQuickBolusAvailability();
    void quickBolus();
    void quickBolusSetup();
    // "Print...": with Shift held it previews instead.
    void print();
    void printSetup();

    CQuillmarchApp& m_app;
    CQuillmarchView& m_view;
    QComboBox* m_filter;
    std::map<int, QAction*> m_actions;
    QAction* m_openUser = nullptr;
    QAction* m_removeUser = nullptr;
    bool m_quickBolusAvailable = false;
    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<QtFileDialogs> m_fileDialogs;
    std::unique_ptr<ReportPrintCommands> m_printCommands;
    std::unique_ptr<OptimizeWaitWindow> m_optimizing;
    std::function<void()> m_editFoods;
    std::function<void()> m_editA1c;
    std::function<bool(const QUrl&)> m_openUrl;
    std::unique_ptr<HotSyncApi> m_hotSync;
    UpdateCheckCommand* m_updateCheck;
};
