// Quillmarch: start-up of the program. Started with arguments, it runs a command-line job and
// opens no window. Otherwise the patient is chosen (or created) before any window opens; a
// patient already open in another running program is handed to that program.

#include "app/CQuillmarchApp.h"
#include "app/DatabaseFileOpening.h"
#include "app/InstanceGuard.h"
#include "app/PatientViewSettings.h"
#include "app/SettingsTree.h"
#include "app/widgets/CMainFrame.h"
#include "app/widgets/SplashDialog.h"
#include "app/widgets/UpdateCheckCommand.h"
#include "app/widgets/WidgetAppDialogs.h"
#include "cli/CommandLineMain.h"
#include "cli/GivenFileDialogs.h"
#include "handheld/NoHotSync.h"
#include "handheld/widgets/PalmSupportCommand.h"
#include "logbook/widgets/CQuillmarchView.h"
#include "logbook/widgets/SampleDatePropertySheet.h"
#include "logbook/widgets/SampleDialog.h"
#include "settings/widgets/PreferenceDlg.h"
#include "sidelogs/widgets/A1cListDlg.h"
#include "sidelogs/widgets/BloodPressureListDlg.h"
#include "sidelogs/widgets/FoodListDlg.h"
#include "storage/Clock.h"
#include "ui/widgets/AskDeleteDialog.h"
#include "ui/widgets/ProgressDlg.h"
#include "ui/widgets/QtPrompts.h"

#include <QApplication>
#include <QIcon>
#include <memory>

int main(int argc, char** argv) {
    if (startsCommandLine(argc, argv))
        return runCommandLine(argc, argv);
    // Taken before the application object sees the arguments.
    const QString updateServer = updateServerArgument(argc, argv);
    const QString openedFile = openedFileArgument(argc, argv);

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillmarch"));
    QApplication::setApplicationVersion(QStringLiteral("%1").arg(QUILLMARCH_VERSION_TEXT));
    // The desktop matches the window to its menu entry and shows the same icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.quillmarch.Quillmarch"));
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/quillmarch-48.png"));
    icon.addFile(QStringLiteral(":/icons/quillmarch-256.png"));
    QApplication::setWindowIcon(icon);

    QtPrompts prompts;
    ProgressDlg progress;
    WidgetAppDialogs dialogs;
    SystemClock clock;
    SettingsTree settings(SettingsTree::defaultPath(), prompts);
    CQuillmarchApp app(settings, prompts, progress, dialogs, clock);
    // The first start from a new program folder: the handheld conduit lives there, so every
    // paired patient is registered again.
    if (app.ensureAppPath(QApplication::applicationDirPath()))
        reregisterPalmUsers(app, *makeSystemHotSync());

    // One running program per patient. A new guard takes the patient before the old one
    // lets go of the previous patient, so a refused switch leaves everything as it was.
    std::unique_ptr<InstanceGuard> guard;
    CMainFrame* frameForRaise = nullptr;
    app.setPatientClaim([&](const QString& name) {
        auto claim = std::make_unique<InstanceGuard>();
        if (!claim->acquire(name))
            return false;
        QObject::connect(claim.get(), &InstanceGuard::raiseRequested, [&frameForRaise] {
            if (!frameForRaise)
                return;
            frameForRaise->showNormal();
            frameForRaise->raise();
            frameForRaise->activateWindow();
        });
        guard = std::move(claim);
        return true;
    });

    // Started with a patient's own file, that patient opens; with any other file the patient
    // is chosen as usual and the file is dealt with once the window is up.
    DatabaseFileOpening opening;
    if (!openedFile.isEmpty())
        opening = decideFileOpening(settings, openedFile);
    const bool ownFile =
        !openedFile.isEmpty() && opening.kind == DatabaseFileOpening::Kind::OpenPatient;
    if (!(ownFile ? app.switchUser(opening.patient) : app.selectUser()))
        return app.quitCode().value_or(0);

    AskDeleteDialog deleteQuestion;
    auto* view = new CQuillmarchView(app, progress, deleteQuestion);
    CMainFrame frame(app, *view);
    PatientViewSettings viewSettings(app);
    view->setViewSettings(&viewSettings);
    // Each patient's window shows the graph the way that patient left it.
    QObject::connect(&frame, &CMainFrame::patientChanged,
                     [view, &viewSettings] { view->setViewSettings(&viewSettings); });
    frame.updateCheck().setServerOverride(updateServer);
    frameForRaise = &frame;
    auto entryEditor = [&app, &frame](Sample& entry) { return editEntry(app, entry, &frame); };
    view->setEntryEditor(entryEditor);
    view->setDayEditor([&app, &frame, &deleteQuestion, entryEditor](int dayPk) {
        return editDay(app, dayPk, entryEditor, deleteQuestion, &frame);
    });
    view->setPreferencesEditor(
        [&app, &frame, &deleteQuestion] { return editPreferences(app, deleteQuestion, &frame); });
    view->setVitalsEditor(
        [&app, &frame, &deleteQuestion] { editVitalsLog(app, deleteQuestion, &frame); });
    frame.setFoodsEditor(
        [&app, &frame, &deleteQuestion] { editFoodLog(app, deleteQuestion, &frame); });
    frame.setA1cEditor(
        [&app, &frame, &deleteQuestion] { editA1cLog(app, deleteQuestion, &frame); });
    prompts.setParent(&frame);
    dialogs.setParent(&frame);
    app.setTitleObserver([&frame](const QString&) { frame.updateTitle(); });
    // A patient's file that cannot be used ends the program, as it does at start-up.
    app.setQuitRequest([](int code) { QCoreApplication::exit(code); });
    frame.placeOnDesktop();
    frame.show();
    frame.updateTitle();

    SplashDialog splash(app.getVersionText());
    splash.show();
    app.splashShown();
    QObject::connect(&splash, &SplashDialog::closed, [&app] { app.splashClosed(); });
    splash.closeWhen([&app] { return app.shouldCloseSplash(); });
    frame.updateCheck().remindUpdateCheck();
    if (!openedFile.isEmpty() && !ownFile)
        QMetaObject::invokeMethod(
            &frame,
            [&] {
                if (opening.kind == DatabaseFileOpening::Kind::Refuse) {
                    prompts.error(
                        QString::fromLatin1(kProgramCaption),
                        QStringLiteral("%1\ncannot be opened: %2.").arg(openedFile, opening.why));
                    return;
                }
                // A database no patient here owns (another patient's, a copy): its entries
                // come in only when the patient says so, and the file itself is never changed.
                if (prompts.askYesNo(
                        QString::fromLatin1(kProgramCaption),
                        QStringLiteral("%1\nis no patient's own database here.\n\nImport its "
                                       "entries into the logbook of %2?")
                            .arg(openedFile, app.currentUserName()))) {
                    GivenFileDialogs files(openedFile);
                    frame.importDatabaseFrom(files);
                }
            },
            Qt::QueuedConnection);

    int code = application.exec();
    app.closeUser();
    return code;
}
