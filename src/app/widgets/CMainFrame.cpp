#include "app/widgets/CMainFrame.h"
#include "app/widgets/OptimizeWaitWindow.h"
#include "app/widgets/UpdateCheckCommand.h"

#include "app/CQuillmarchApp.h"
#include "app/DatabaseMaintenance.h"
#include "app/FramePlacement.h"
#include "app/SettingsTree.h"
#include "bolus/QbCalculator.h"
#include "bolus/widgets/QbPreferenceDlg.h"
#include "bolus/widgets/RivezAdozuDlg.h"
#include "exchange/CgmFormats.h"
#include "exchange/widgets/DatabaseImportCommand.h"
#include "exchange/widgets/ExchangeWindow.h"
#include "exchange/widgets/LogExportCommand.h"
#include "exchange/widgets/MeterImportCommands.h"
#include "handheld/HotSyncApi.h"
#include "handheld/NoHotSync.h"
#include "handheld/widgets/PalmSupportCommand.h"
#include "logbook/LogRows.h"
#include "logbook/ViewCommands.h"
#include "logbook/widgets/CQuillmarchView.h"
#include "logbook/widgets/SampleListCtrl.h"
#include "reports/widgets/ReportPrintCommands.h"
#include "storage/Clock.h"
#include "storage/Preference.h"
#include "storage/Sample.h"
#include "storage/SampleType.h"
#include "ui/widgets/QtFileDialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QMenuBar>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>

using namespace ViewCommand;

namespace {

// Command ids of the application's own menu items.
constexpr int kNewUser = 32771;
constexpr int kOpenUser = 32772;
constexpr int kAbout = 57664;
constexpr int kExit = 57665;
constexpr int kQuickBolus = 32837;
constexpr int kQuickBolusSetup = 32835;
constexpr int kPrint = 57607;
constexpr int kPrintPreview = 57609;
constexpr int kPrintSetup = 57606;
constexpr int kSaveAsPdf = 32900;
constexpr int kRemoveUser = 32773;
constexpr int kBackup = 32780;
constexpr int kRestore = 32781;
constexpr int kOptimize = 32782;
constexpr int kSaveAs = 32819;
constexpr int kOneTouchMeter = 32849;
constexpr int kOneTouchData = 32848;
constexpr int kBgTracker = 32850;
constexpr int kImportDatabase = 32853;
// File > Import's CGM exports, in the order of CgmFormats::all().
constexpr int kImportCgm[] = {32910, 32911, 32912};
constexpr int kFoods = 32803;
constexpr int kA1c = 32804;
constexpr int kWebSite = 32815;
constexpr int kSponsor = 32816;
constexpr int kCheckForUpdates = 32817;
constexpr int kPalmSupport = 32818;

// The vendor's pages: deployment values of our own.
constexpr const char* kWebSiteAddress = "https://quillmarch.org/";
constexpr const char* kSponsorAddress = "https://quillmarch.org/sponsor";

} // namespace

CMainFrame::CMainFrame(CQuillmarchApp& app, CQuillmarchView& view, QWidget* parent)
    : QMainWindow(parent), m_app(app), m_view(view), m_filter(new QComboBox),
      m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution)),
      m_fileDialogs(std::make_unique<QtFileDialogs>(this)),
      m_printCommands(std::make_unique<ReportPrintCommands>(app, view, *m_fileDialogs, this)),
      m_openUrl([](const QUrl& url) { return QDesktopServices::openUrl(url); }),
      m_hotSync(makeSystemHotSync()), m_updateCheck(new UpdateCheckCommand(app, this)) {
    setCentralWidget(&m_view);
    // The reports are laid out for landscape paper.
    m_printer->setPageSize(QPageSize(QPageSize::A4));
    m_printer->setPageOrientation(QPageLayout::Landscape);
    m_printCommands->setJobEnded([this] { updateTitle(); });
    buildMenus();

    QToolBar* tools = addToolBar(QStringLiteral("Standard"));
    tools->setObjectName(QStringLiteral("Standard"));
    // The tool bar shows short names; the menus keep the full texts with their keys.
    action(NewEntry)->setIconText(QStringLiteral("New"));
    action(ModifyEntry)->setIconText(QStringLiteral("Modify"));
    action(RemoveEntry)->setIconText(QStringLiteral("Remove"));
    tools->addAction(action(NewEntry));
    tools->addAction(action(ModifyEntry));
    tools->addAction(action(RemoveEntry));
    tools->addSeparator();
    m_filter->setFixedWidth(150);
    m_filter->setToolTip(QStringLiteral("Log type"));
    tools->addWidget(m_filter);
    rebuildFilter();
    connect(m_filter, &QComboBox::currentIndexChanged, this, [this] { m_view.reload(); });
    m_view.setFilterSource([this] { return filterValue(); });
    m_filter->setFont(m_view.list()->font());

    statusBar()->showMessage(QStringLiteral("Ready"));
    connect(m_view.list()->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CMainFrame::updateEnabling);
    connect(&m_view, &CQuillmarchView::logbookChanged, this, &CMainFrame::updateEnabling);
    connect(&m_view, &CQuillmarchView::settingsChanged, this, [this] {
        rebuildFilter();
        updateTitle();
    });
    updateTitle();
    readQuickBolusAvailability();
}

CMainFrame::~CMainFrame() = default;

QAction* CMainFrame::action(int id) const {
    auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

QAction* CMainFrame::addViewCommand(QMenu* menu, const QString& text, int id) {
    QAction* item = menu->addAction(text);
    connect(item, &QAction::triggered, this, [this, id] { m_view.runCommand(id); });
    m_actions[id] = item;
    return item;
}

void CMainFrame::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    QAction* newUser = file->addAction(QStringLiteral("New User..."));
    connect(newUser, &QAction::triggered, this, &CMainFrame::newUser);
    m_actions[kNewUser] = newUser;
    m_openUser = file->addAction(QStringLiteral("Open..."));
    connect(m_openUser, &QAction::triggered, this, &CMainFrame::openUser);
    m_actions[kOpenUser] = m_openUser;
    m_removeUser = addFrameCommand(file, QStringLiteral("Remove User..."), kRemoveUser,
                                   [this] { maintenance().removeUser(); });
    file->addSeparator();
    addFrameCommand(file, QStringLiteral("Save As...."), kSaveAs, [this] {
        ExchangeWindow window = exchangeWindow();
        saveAsCommand(window);
    });
    QMenu* import = file->addMenu(QStringLiteral("Import"));
    addFrameCommand(import, QStringLiteral("OneTouch Meter ..."), kOneTouchMeter,
                    [this] { startMeterProgram(m_app); });
    addFrameCommand(import, QStringLiteral("OneTouch Data ..."), kOneTouchData, [this] {
        ExchangeWindow window = exchangeWindow();
        importOneTouchCommand(window);
    });
    addFrameCommand(import, QStringLiteral("BG Tracker4 ..."), kBgTracker, [this] {
        ExchangeWindow window = exchangeWindow();
        importBgTrackerCommand(window);
    });
    for (size_t i = 0; i < CgmFormats::all().size() && i < std::size(kImportCgm); ++i) {
        const CgmFormat& format = CgmFormats::all()[i];
        addFrameCommand(import, QString::fromLatin1(format.menuText), kImportCgm[i],
                        [this, &format] {
                            ExchangeWindow window = exchangeWindow();
                            importCgmCommand(window, format);
                        });
    }
    addFrameCommand(import, QStringLiteral("Database ..."), kImportDatabase, [this] {
        ExchangeWindow window = exchangeWindow();
        importDatabaseCommand(window);
    });
    file->addSeparator();
    addFrameCommand(file, QStringLiteral("Backup..."), kBackup,
                    [this] { maintenance().backupDatabase(); });
    addFrameCommand(file, QStringLiteral("Restore..."), kRestore, [this] {
        if (maintenance().restoreDatabase() == DatabaseMaintenance::Outcome::Done)
            patientDataReplaced();
    });
    addFrameCommand(file, QStringLiteral("Optimize Database ..."), kOptimize, [this] {
        maintenance().optimizeDatabase([this](bool shown) { showOptimizing(shown); });
    });
    file->addSeparator();
    QAction* printItem = file->addAction(QStringLiteral("Print..."));
    // Shift with a click on the item previews; Shift with the print key is the preview's own
    // shortcut, so that it never depends on when the modifier is read.
    printItem->setShortcut(QKeySequence(QKeySequence::Print));
    connect(printItem, &QAction::triggered, this, &CMainFrame::print);
    m_actions[kPrint] = printItem;
    QAction* pdfItem = file->addAction(QStringLiteral("Save as PDF ..."));
    connect(pdfItem, &QAction::triggered, this, [this] { m_printCommands->saveAsPdf(); });
    m_actions[kSaveAsPdf] = pdfItem;
    QAction* previewItem = file->addAction(QStringLiteral("Print Preview"));
    previewItem->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
    connect(previewItem, &QAction::triggered, this,
            [this] { m_printCommands->preview(*m_printer); });
    m_actions[kPrintPreview] = previewItem;
    QAction* setupItem = file->addAction(QStringLiteral("Print Setup..."));
    connect(setupItem, &QAction::triggered, this, &CMainFrame::printSetup);
    m_actions[kPrintSetup] = setupItem;
    file->addSeparator();
    QAction* exitItem = file->addAction(QStringLiteral("E&xit"));
    connect(exitItem, &QAction::triggered, this, &QWidget::close);
    m_actions[kExit] = exitItem;

    // The keys themselves reach the view through the list; the menu shows them as hints.
    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    addViewCommand(edit, QStringLiteral("New Log Entry...\tIns"), NewEntry);
    addViewCommand(edit, QStringLiteral("Modify Log Entry...\tEnter"), ModifyEntry);
    addViewCommand(edit, QStringLiteral("Remove Log Entry...\tDel"), RemoveEntry);
    connect(edit, &QMenu::aboutToShow, this, &CMainFrame::updateEnabling);

    QMenu* viewMenu = menuBar()->addMenu(QStringLiteral("&View"));
    QAction* toolBarItem = viewMenu->addAction(QStringLiteral("&Toolbar"));
    toolBarItem->setCheckable(true);
    toolBarItem->setChecked(true);
    connect(toolBarItem, &QAction::toggled, this, [this](bool on) {
        for (QToolBar* bar : findChildren<QToolBar*>())
            bar->setVisible(on);
    });
    QAction* statusItem = viewMenu->addAction(QStringLiteral("&Status Bar"));
    statusItem->setCheckable(true);
    statusItem->setChecked(true);
    connect(statusItem, &QAction::toggled, this, [this](bool on) { statusBar()->setVisible(on); });
    viewMenu->addSeparator();
    // The graph strip under the list and its balloons; the view keeps both switches.
    for (auto [text, id] : {std::pair{"Log Book Graph", int(LogGraph)},
                            std::pair{"Show Entry Ballon", int(ShowBalloon)}}) {
        QAction* item = addViewCommand(viewMenu, QString::fromLatin1(text), id);
        item->setCheckable(true);
    }
    connect(viewMenu, &QMenu::aboutToShow, this, &CMainFrame::updateEnabling);
    viewMenu->addSeparator();
    addViewCommand(viewMenu, QStringLiteral("Preferences"), Preferences);
    QAction* setup = viewMenu->addAction(QStringLiteral("Quick Bolus Setup"));
    connect(setup, &QAction::triggered, this, &CMainFrame::quickBolusSetup);
    m_actions[kQuickBolusSetup] = setup;
    viewMenu->addSeparator();
    addViewCommand(viewMenu, QStringLiteral("Vitals"), Vitals);
    addFrameCommand(viewMenu, QStringLiteral("Foods"), kFoods, [this] {
        if (m_editFoods)
            m_editFoods();
    });
    addFrameCommand(viewMenu, QStringLiteral("Hemoglobin A1c"), kA1c, [this] {
        if (m_editA1c)
            m_editA1c();
    });

    QMenu* utilities = menuBar()->addMenu(QStringLiteral("&Utilities"));
    QAction* quickBolusItem = utilities->addAction(QStringLiteral("Quick Bolus"));
    connect(quickBolusItem, &QAction::triggered, this, &CMainFrame::quickBolus);
    m_actions[kQuickBolus] = quickBolusItem;
    connect(utilities, &QMenu::aboutToShow, this, &CMainFrame::updateEnabling);
    addViewCommand(utilities, QStringLiteral("Summarize All Records"), SummarizeAll);
    utilities->addSeparator();
    addFrameCommand(utilities, QStringLiteral("Palm Support"), kPalmSupport, [this] {
        palmSupportCommand(m_app, *m_hotSync, this);
    })->setStatusTip(QStringLiteral("Setup Palm/PDA support"));

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    addFrameCommand(help, QStringLiteral("Quillmarch on the Web"), kWebSite,
                    [this] { m_openUrl(QUrl(QString::fromLatin1(kWebSiteAddress))); });
    addFrameCommand(help, QStringLiteral("Become a Sponsor"), kSponsor,
                    [this] { m_openUrl(QUrl(QString::fromLatin1(kSponsorAddress))); });
    addFrameCommand(help, QStringLiteral("Check for updates"), kCheckForUpdates,
                    [this] { m_updateCheck->checkForUpdates(); });
    help->addSeparator();
    QAction* aboutItem = help->addAction(QStringLiteral("About"));
    connect(aboutItem, &QAction::triggered, this, &CMainFrame::about);
    m_actions[kAbout] = aboutItem;
    connect(file, &QMenu::aboutToShow, this, &CMainFrame::updateEnabling);
}

QAction* CMainFrame::addFrameCommand(QMenu* menu, const QString& text, int id,
                                     std::function<void()> command) {
    QAction* item = menu->addAction(text);
    connect(item, &QAction::triggered, this, std::move(command));
    m_actions[id] = item;
    return item;
}

DatabaseMaintenance CMainFrame::maintenance() {
    return DatabaseMaintenance(m_app, *m_fileDialogs, m_app.prompts());
}

ExchangeWindow CMainFrame::exchangeWindow() {
    return ExchangeWindow{m_app, *m_fileDialogs, m_app.progress(), this,
                          [this] { patientDataReplaced(); }};
}

void CMainFrame::importDatabaseFrom(FileDialogs& files) {
    ExchangeWindow window{m_app, files, m_app.progress(), this, [this] { patientDataReplaced(); }};
    importDatabaseCommand(window);
}

void CMainFrame::patientDataReplaced() {
    // Imports and a restore may bring slots and medications: the caches and the filter follow.
    m_app.reloadPreference();
    rebuildFilter();
    updateTitle();
    readQuickBolusAvailability();
    m_view.postCommand(Reload);
}

void CMainFrame::showOptimizing(bool shown) {
    if (!m_optimizing)
        m_optimizing = std::make_unique<OptimizeWaitWindow>(this);
    m_optimizing->setShown(shown);
}

void CMainFrame::updateEnabling() {
    for (int id : {ModifyEntry, RemoveEntry})
        if (QAction* item = action(id))
            item->setEnabled(m_view.isCommandEnabled(id));
    m_openUser->setEnabled(m_app.settings().countUsers() >= 2);
    m_removeUser->setEnabled(DatabaseMaintenance::removeUserEnabled(m_app));
    action(kQuickBolus)->setEnabled(m_quickBolusAvailable);
    for (int id : {int(LogGraph), int(ShowBalloon)}) {
        QAction* item = action(id);
        item->setEnabled(m_view.isCommandEnabled(id));
        item->setChecked(m_view.isCommandChecked(id));
    }
}

void CMainFrame::setHotSync(std::unique_ptr<HotSyncApi> api) {
    m_hotSync = std::move(api);
}

void CMainFrame::readQuickBolusAvailability() {
    m_quickBolusAvailable = m_app.hasDatabase() && quickBolusAvailable(m_app.database());
    updateEnabling();
}

void CMainFrame::quickBolus() {
    if (!m_quickBolusAvailable)
        return;
    std::optional<QuickBolusResult> result = runQuickBolus(m_app, this);
    if (!result)
        return;
    // The accepted estimate becomes a new entry that the patient reviews before it is stored.
    Sample entry;
    fillQuickBolusEntry(*result, m_app.clock().now(), m_app.getPreference().getGlucoseSampleCode(),
                        entry);
    m_view.newEntryFrom(entry);
}

void CMainFrame::quickBolusSetup() {
    if (editQuickBolusSetup(m_app, this)) {
        readQuickBolusAvailability();
        m_view.repaintList(); // the targets colour the glucose values
    }
}

void CMainFrame::print() {
    if (QApplication::keyboardModifiers() & Qt::ShiftModifier)
        m_printCommands->preview(*m_printer);
    else
        m_printCommands->print(*m_printer);
}

void CMainFrame::printSetup() {
    QPageSetupDialog dialog(m_printer.get(), this);
    dialog.exec();
}

void CMainFrame::rebuildFilter() {
    const int previous = m_filter->currentIndex();
    QSignalBlocker quiet(m_filter);
    m_filter->clear();
    for (int i = 0; i < m_app.getSlotCount(); ++i) {
        const SampleTypeAbs& slot = m_app.getSlot(i);
        m_filter->addItem(slot.getDesc(), slot.getPk());
    }
    m_filter->addItem(QStringLiteral("Daily Summary"), LogFilter::DailySummary);
    m_filter->addItem(QStringLiteral("All Types"), LogFilter::AllTypes);
    // The position chosen before stays chosen; the first time it is "All Types".
    m_filter->setCurrentIndex(
        previous >= 0 && previous < m_filter->count() ? previous : m_filter->count() - 1);
}

int CMainFrame::filterValue() const {
    QVariant value = m_filter->currentData();
    return value.isValid() ? value.toInt() : LogFilter::AllTypes;
}

void CMainFrame::updateTitle() {
    setWindowTitle(m_app.hasDatabase() ? m_app.windowTitle() : QStringLiteral("Quillmarch"));
}

void CMainFrame::placeOnDesktop() {
    QScreen* screen = QApplication::primaryScreen();
    if (screen)
        setGeometry(mainFramePlacement(screen->availableGeometry()));
}

void CMainFrame::newUser() {
    if (!m_app.createNewUser())
        return;
    emit patientChanged();
    rebuildFilter();
    updateTitle();
    readQuickBolusAvailability();
    m_view.runCommand(Summarize);
    // A new patient starts from the defaults: the sheet lets them be made the patient's own.
    m_view.runCommand(Preferences);
}

void CMainFrame::openUser() {
    if (m_app.openUserCommand()) {
        emit patientChanged();
        rebuildFilter();
        updateTitle();
        readQuickBolusAvailability();
    } else if (m_app.quitCode()) {
        return; // no file is open and the program is ending: nothing may run on
    }
    m_view.postCommand(Summarize);
}

void CMainFrame::about() {
    QMessageBox::about(this, QStringLiteral("About Quillmarch"),
                       QStringLiteral("Quillmarch\nVersion %1\n\nA logbook for people with "
                                      "diabetes.")
                           .arg(m_app.getVersionText()));
}
