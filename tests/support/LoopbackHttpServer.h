#pragma once

#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>

// A one-page web server on the loopback interface: keeps the request and, once it is whole,
// sends `response` and closes. A null response: takes the connection and never answers.
class LoopbackHttpServer {
public:
    explicit LoopbackHttpServer(QByteArray response) : m_response(std::move(response)) {
        m_server.listen(QHostAddress::LocalHost);
        QObject::connect(&m_server, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection()) {
                QObject::connect(socket, &QTcpSocket::readyRead, [this, socket] {
                    m_request += socket->readAll();
                    const qsizetype head = m_request.indexOf("\r\n\r\n") + 4;
                    const QRegularExpression length("(?i)content-length: *(\\d+)");
                    if (!m_response.isNull() && head >= 4 &&
                        m_request.size() - head >= length.match(m_request).captured(1).toInt()) {
                        socket->write(m_response);
                        socket->disconnectFromHost();
                    }
                });
            }
        });
    }

    static QByteArray answer(const QByteArray& body, const QByteArray& status = "200 OK") {
        return "HTTP/1.0 " + status + "\r\n\r\n" + body;
    }

    QString baseAddress() const {
        return QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort());
    }
    const QByteArray& request() const { return m_request; }

private:
    QTcpServer m_server;
    QByteArray m_response, m_request;
};
