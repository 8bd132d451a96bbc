#include "exchange/widgets/DatabaseImportCommand.h"

#include "app/CQuillmarchApp.h"
#include "exchange/DatabaseImport.h"
#include "exchange/widgets/ExchangeWindow.h"
#include "storage/Database.h"
#include "ui/FileDialogs.h"
#include "ui/Prompts.h"

#include <QCursor>
#include <QFileInfo>
#include <QGuiApplication>

namespace {

constexpr const char* kDialogCaption = "Import Quillmarch Database";
constexpr const char* kFilter = "Quillmarch Database (*.db)";

} // namespace

void importDatabaseCommand(ExchangeWindow& window) {
    CQuillmarchApp& app = window.app;
    Prompts& prompts = app.prompts();
    const QString folder = QFileInfo(app.database().path()).absolutePath();
    const QString path = window.files.getOpenFileName(QString::fromLatin1(kDialogCaption), folder,
                                                      QString::fromLatin1(kFilter));
    if (path.isEmpty())
        return;
    if (!QFileInfo::exists(path)) {
        prompts.show(QString::fromLatin1(kProgramCaption),
                     QString::fromLatin1(ImportTexts::kMissingFile).arg(path), PromptButtons::Ok,
                     PromptIcon::Warning);
        return;
    }
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    const ImportResult result = DatabaseImport(app, window.progress).import(path);
    QGuiApplication::restoreOverrideCursor();
    if (!result.ok) {
        prompts.error(QString::fromLatin1(kProgramCaption),
                      QString::fromLatin1(ImportTexts::kImportFailed));
        return;
    }
    if (window.reload)
        window.reload();
}
