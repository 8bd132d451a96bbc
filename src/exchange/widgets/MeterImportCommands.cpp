#include "exchange/widgets/MeterImportCommands.h"

#include "app/CQuillmarchApp.h"
#include "app/SettingsTree.h"
#include "exchange/BgTrackerData.h"
#include "exchange/CgmFormats.h"
#include "exchange/CgmImport.h"
#include "exchange/ImportResult.h"
#include "exchange/OneTouchData.h"
#include "exchange/widgets/CgmInsulinDialog.h"
#include "exchange/widgets/ExchangeWindow.h"
#include "storage/Database.h"
#include "ui/FileDialogs.h"
#include "ui/Prompts.h"
#include "ui/widgets/WaitCursor.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <algorithm>

namespace {

constexpr const char* kMeterProgram = "Q7OneTouch";

// The meter file to import, or nothing when the patient cancelled or chose a file that is
// not there (which has been reported).
QString chooseFile(ExchangeWindow& window, const char* caption, const char* filter) {
    const QString folder = QFileInfo(window.app.database().path()).absolutePath();
    const QString path =
        window.files.getOpenFileName(QString::fromUtf8(caption), folder, QString::fromUtf8(filter));
    if (path.isEmpty())
        return {};
    if (!QFileInfo(path).isFile()) {
        window.app.prompts().show(QString::fromUtf8(kProgramCaption),
                                  QString::fromUtf8(ImportTexts::kMissingFile).arg(path),
                                  PromptButtons::Ok, PromptIcon::Warning);
        return {};
    }
    return path;
}

void tellOutcome(ExchangeWindow& window, const ImportResult& result) {
    Prompts& prompts = window.app.prompts();
    if (!result.ok) {
        prompts.error(QString::fromUtf8(ImportTexts::kImportFailed), result.error);
        return;
    }
    if (result.skippedByRetention > 0)
        prompts.information(QString::fromUtf8(kProgramCaption),
                            QString::fromUtf8(ImportTexts::kRetention));
    if (result.recordsRead > 0 && window.reload)
        window.reload();
}

} // namespace

void importOneTouchCommand(ExchangeWindow& window) {
    const QString path = chooseFile(window, "Import CSV", "OneTouch CSV(*.csv)");
    if (path.isEmpty())
        return;
    OneTouchData importer(window.app, window.progress);
    tellOutcome(window, importer.importFile(path));
}

void importBgTrackerCommand(ExchangeWindow& window) {
    const QString path = chooseFile(window, "Import BG Tracker 4", "BG Tracker 4 CSV(*.txt)");
    if (path.isEmpty())
        return;
    ImportResult result;
    {
        WaitCursor wait;
        BgTrackerData importer(window.app, window.progress);
        result = importer.importFile(path);
    }
    tellOutcome(window, result);
}

std::optional<CgmInsulinChoice> askCgmInsulin(QWidget* parent,
                                              const std::vector<CgmInsulinOption>& insulins,
                                              const CgmInsulinChoice& suggested) {
    CgmInsulinDialog dialog(insulins, suggested, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.choice();
}

void importCgmCommand(ExchangeWindow& window, const CgmFormat& format, const CgmInsulinAsk& ask) {
    const QString path = chooseFile(window, format.dialogCaption, format.filter);
    if (path.isEmpty())
        return;
    CgmExport data;
    {
        WaitCursor wait;
        QFile file(path);
        data = format.read(file, path);
    }
    // The question is asked only of an export that has doses to file, and before anything is
    // stored: a cancelled question imports nothing.
    Database& db = window.app.database();
    CgmInsulinChoice insulin = CgmInsulin::defaults(db);
    const bool hasDoses =
        std::any_of(data.events.begin(), data.events.end(), [](const CgmEvent& event) {
            return event.kind == CgmEvent::Kind::RapidInsulin ||
                   event.kind == CgmEvent::Kind::LongInsulin;
        });
    if (data.ok() && hasDoses) {
        const std::optional<CgmInsulinChoice> chosen =
            ask(window.parent, CgmInsulin::options(db), insulin);
        if (!chosen)
            return;
        insulin = *chosen;
    }
    ImportResult result;
    {
        WaitCursor wait;
        result = CgmImport(window.app, window.progress).store(data, insulin, path);
    }
    tellOutcome(window, result);
    // Sensor readings never show in the list, so the patient is told what became of them.
    if (result.ok)
        window.app.prompts().information(QString::fromUtf8(kProgramCaption),
                                         cgmOutcomeText(QDir::toNativeSeparators(path), result));
}

QString cgmOutcomeText(const QString& path, const ImportResult& result) {
    return QStringLiteral("%1\n\nSensor readings stored: %2; already stored: %3.\nLog entries "
                          "added or completed: %4.")
        .arg(path)
        .arg(result.readingsStored)
        .arg(result.readingsKnown)
        .arg(result.recordsApplied);
}

void startMeterProgram(CQuillmarchApp& app) {
    const QString folder =
        app.settings().getAppString(QString::fromLatin1(CQuillmarchApp::kAppPathValue));
    const QString program = QDir(folder).filePath(QString::fromLatin1(kMeterProgram));
    const QFileInfo info(program);
    if (folder.isEmpty() || !info.isFile() || !info.isExecutable()) {
        app.prompts().error(QString::fromUtf8(kProgramCaption),
                            QStringLiteral("The meter download program was not found:\n%1")
                                .arg(QDir::toNativeSeparators(program)));
        return;
    }
    // Started on its own: nothing waits for it, and it outlives this program.
    if (!QProcess::startDetached(program, {QStringLiteral("user=") + app.currentUserName()},
                                 folder))
        app.prompts().error(QString::fromUtf8(kProgramCaption),
                            QStringLiteral("The meter download program could not be started:\n%1")
                                .arg(QDir::toNativeSeparators(program)));
}
