#include "exchange/widgets/LogExportCommand.h"

#include "app/CQuillmarchApp.h"
#include "exchange/LogExport.h"
#include "exchange/widgets/ExchangeWindow.h"
#include "storage/Clock.h"
#include "storage/Database.h"
#include "ui/FileDialogs.h"
#include "ui/Prompts.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>

namespace {

constexpr const char* kDialogCaption = "Save As";
constexpr const char* kFilter = "Excel/Tab delimited (*.xls);;Text (*.txt)";
// What a name typed without an extension gets: the first filter's.
constexpr const char* kDefaultSuffix = ".xls";
constexpr const char* kReplaceCaption = "Replace file?";
constexpr const char* kOpenCaption = "Save As";
constexpr const char* kOpenQuestion = "Save As completed sucessfully to:\n%1\nOpen this file Now?";

} // namespace

void saveAsCommand(ExchangeWindow& window, const std::function<bool(const QUrl&)>& openFile) {
    CQuillmarchApp& app = window.app;
    Prompts& prompts = app.prompts();
    QString path;
    // A "No" to replacing a file brings the dialog back.
    for (;;) {
        const QString name =
            LogExport::defaultFileName(app.preference().getPatientName(), app.clock().now());
        const QString initial = QFileInfo(app.database().path()).absoluteDir().filePath(name);
        path = window.files.getSaveFileNameNoOverwriteQuestion(
            QString::fromLatin1(kDialogCaption), initial, QString::fromLatin1(kFilter));
        if (path.isEmpty())
            return;
        if (QFileInfo(path).suffix().isEmpty())
            path += QString::fromLatin1(kDefaultSuffix);
        if (!QFileInfo::exists(path) ||
            prompts.askYesNo(QString::fromLatin1(kReplaceCaption),
                             QString::fromLatin1(kOverwriteQuestion).arg(path)))
            break;
    }
    const std::optional<LogExport::Format> format = LogExport::formatOf(path);
    if (!format) {
        prompts.show(QString::fromLatin1(kProgramCaption),
                     QString::fromLatin1(LogExport::kUnknownFormat), PromptButtons::Ok,
                     PromptIcon::Warning);
        return;
    }
    QString error;
    // A file that cannot be written ends the command quietly; the file is left as it was.
    if (!LogExport::write(app.database(), path, *format, error))
        return;
    if (prompts.askYesNo(QString::fromLatin1(kOpenCaption),
                         QString::fromLatin1(kOpenQuestion).arg(path))) {
        const QUrl url = QUrl::fromLocalFile(path);
        if (openFile)
            openFile(url);
        else
            QDesktopServices::openUrl(url);
    }
}
