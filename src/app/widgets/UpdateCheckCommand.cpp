#include "app/widgets/UpdateCheckCommand.h"

#include "app/CQuillmarchApp.h"
#include "app/widgets/UpdateFoundDialog.h"
#include "ui/Prompts.h"

#include <QApplication>
#include <QDesktopServices>
#include <QWidget>

UpdateCheckCommand::UpdateCheckCommand(CQuillmarchApp& app, QWidget* window)
    : QObject(window), m_app(app), m_window(window),
      m_check(new UpdateCheck(app.settings(), app.clock(), this)) {
    m_downloadQuestion = [this](const QString& current, const QString& available) {
        UpdateFoundDialog dialog(current, available, m_window);
        return dialog.exec() == QDialog::Accepted;
    };
    m_urlOpener = [](const QUrl& url) { QDesktopServices::openUrl(url); };
    connect(m_check, &UpdateCheck::finished, this, &UpdateCheckCommand::checkFinished);
}

UpdateCheckCommand::~UpdateCheckCommand() {
    restoreCursor();
}

void UpdateCheckCommand::remindUpdateCheck() {
    if (m_check->askToCheck(m_app.prompts()))
        checkForUpdates();
}

void UpdateCheckCommand::checkForUpdates() {
    if (m_check->isRunning())
        return;
    m_runningVersion = m_app.getVersionText();
    if (!m_check->start(m_runningVersion))
        return;
    // The wait cursor says the command is under way; the window still takes input.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_cursorSet = true;
}

void UpdateCheckCommand::restoreCursor() {
    if (m_cursorSet) {
        QApplication::restoreOverrideCursor();
        m_cursorSet = false;
    }
}

void UpdateCheckCommand::checkFinished(UpdateCheck::Outcome outcome, const UpdateFinding& finding) {
    restoreCursor();
    Prompts& prompts = m_app.prompts();
    switch (outcome) {
    case UpdateCheck::Outcome::Unreachable:
        prompts.information(QLatin1String(kProgramCaption),
                            QLatin1String(UpdateCheck::kUnreachableText));
        break;
    case UpdateCheck::Outcome::Current:
        prompts.information(QLatin1String(kProgramCaption),
                            QLatin1String(UpdateCheck::kCurrentText));
        break;
    case UpdateCheck::Outcome::Available:
        if (m_downloadQuestion(m_runningVersion, finding.win))
            m_urlOpener(QUrl(finding.url));
        break;
    }
    emit checkShown();
}
