#pragma once

#include <QObject>
#include <QString>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;
class QTimer;

// One request for the update server's version document, run asynchronously on the calling
// thread's event loop. It ends with finished(): answered with the whole body when the server
// sent a successful answer, or not answered (no connection, an error status, or no answer
// within the timeout).
class UpdateRequest : public QObject {
    Q_OBJECT

public:
    // The document's path below the server's base address.
    static constexpr const char* kObjectPath = "/download/q7v4ziz.xml";
    static constexpr const char* kAgent = "HttpCall";
    // A server that has not answered within this time is taken for one that cannot be reached.
    static constexpr int kTimeoutMs = 10000;

    explicit UpdateRequest(QObject* parent = nullptr);
    ~UpdateRequest() override;

    // The document's address below a base address such as "http://host:port".
    static QUrl documentUrl(const QString& baseAddress);

    void setTimeout(int milliseconds) { m_timeoutMs = milliseconds; }
    // Sends the request with the form text "ver=<version>"; false (and nothing sent) while an
    // earlier request still runs.
    bool start(const QString& baseAddress, const QString& version);
    bool isRunning() const { return m_reply != nullptr; }

signals:
    void finished(bool answered, const QString& body);

private:
    void replyFinished();
    void timedOut();

    QNetworkAccessManager* m_network;
    QTimer* m_deadline;
    QNetworkReply* m_reply = nullptr;
    int m_timeoutMs = kTimeoutMs;
    bool m_timedOut = false;
};
