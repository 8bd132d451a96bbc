#include "app/UpdateRequest.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

UpdateRequest::UpdateRequest(QObject* parent)
    : QObject(parent), m_network(new QNetworkAccessManager(this)), m_deadline(new QTimer(this)) {
    m_deadline->setSingleShot(true);
    connect(m_deadline, &QTimer::timeout, this, &UpdateRequest::timedOut);
}

// A request still running is aborted with its reply; nobody is told any more.
UpdateRequest::~UpdateRequest() {
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
    }
}

QUrl UpdateRequest::documentUrl(const QString& baseAddress) {
    QString base = baseAddress.trimmed();
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    return QUrl(base + QLatin1String(kObjectPath));
}

bool UpdateRequest::start(const QString& baseAddress, const QString& version) {
    if (m_reply)
        return false;
    QNetworkRequest request(documentUrl(baseAddress));
    // The server reads the running version from a form text sent with a GET, the way its
    // script has always been called. Qt speaks HTTP/1.1 only (there is no way to ask for 1.0);
    // HTTP/2 is left off so that the request goes out as plain text, as the server expects.
    request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    request.setHeader(QNetworkRequest::UserAgentHeader, QLatin1String(kAgent));
    request.setHeader(QNetworkRequest::ContentTypeHeader,
                      QStringLiteral("application/x-www-form-urlencoded"));
    // Always from the server itself, never from a cache on the way or on this machine: the
    // answer is only worth asking for when it is fresh.
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setRawHeader("Cache-Control", "no-cache");
    request.setRawHeader("Pragma", "no-cache");
    const QByteArray form = "ver=" + version.toUtf8();
    m_timedOut = false;
    m_reply = m_network->sendCustomRequest(request, "GET", form);
    connect(m_reply, &QNetworkReply::finished, this, &UpdateRequest::replyFinished);
    m_deadline->start(m_timeoutMs);
    return true;
}

void UpdateRequest::timedOut() {
    if (!m_reply)
        return;
    m_timedOut = true;
    // Ends the reply with an error; replyFinished() reports it.
    m_reply->abort();
}

void UpdateRequest::replyFinished() {
    m_deadline->stop();
    QNetworkReply* reply = m_reply;
    m_reply = nullptr;
    reply->deleteLater();
    // A server that answered with an error page was still reached: its text is read like any
    // other answer (and holds no version, so it counts as no update). Only a request that got
    // no answer at all is a failure.
    const bool answered =
        !m_timedOut && (reply->error() == QNetworkReply::NoError ||
                        reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid());
    const QString body = answered ? QString::fromUtf8(reply->readAll()) : QString();
    emit finished(answered, body);
}
