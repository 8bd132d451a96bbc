#pragma once

#include "app/UpdateCheck.h"

#include <QObject>
#include <QString>
#include <QUrl>
#include <functional>

class CQuillmarchApp;
class QWidget;

// The "Check for updates" command of the window and the reminder at start-up. The request runs
// while the window goes on taking input; its answer is shown when it comes: the update dialog,
// the current-version message or the failure, through the application's prompts.
class UpdateCheckCommand : public QObject {
    Q_OBJECT

public:
    // Asked with the running and the available version; true to download now.
    using DownloadQuestion = std::function<bool(const QString&, const QString&)>;
    using UrlOpener = std::function<void(const QUrl&)>;

    // The command belongs to the window; closing the window drops a request still running.
    UpdateCheckCommand(CQuillmarchApp& app, QWidget* window);
    ~UpdateCheckCommand() override;

    // The base address given on the command line (--update-server); wins over the stored one.
    void setServerOverride(const QString& baseAddress) { m_check->setServerOverride(baseAddress); }
    void setTimeout(int milliseconds) { m_check->setTimeout(milliseconds); }
    // By default UpdateFoundDialog asks and the platform opens the address in the browser.
    void setDownloadQuestion(DownloadQuestion question) {
        m_downloadQuestion = std::move(question);
    }
    void setUrlOpener(UrlOpener opener) { m_urlOpener = std::move(opener); }

    bool isChecking() const { return m_check->isRunning(); }
    // Once at the end of start-up: asks to check when no check was made for four weeks.
    void remindUpdateCheck();

public slots:
    // Starts the check; a second call while one runs does nothing.
    void checkForUpdates();

signals:
    // The answer (or the failure) has been shown.
    void checkShown();

private:
    void checkFinished(UpdateCheck::Outcome outcome, const UpdateFinding& finding);
    void restoreCursor();

    CQuillmarchApp& m_app;
    QWidget* m_window;
    UpdateCheck* m_check;
    DownloadQuestion m_downloadQuestion;
    UrlOpener m_urlOpener;
    QString m_runningVersion;
    bool m_cursorSet = false;
};
