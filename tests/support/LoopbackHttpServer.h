#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QString>
#include <QTcpServer>
#include <QTcpSocket>
#include <memory>
#include <vector>

// A one-page web server on the loopback interface for tests of the update check. It keeps
// every byte of the request and, once the request is whole (head and the body its
// Content-Length announces), sends `response` and closes. A null response makes a server that
// takes the connection and never answers.
class LoopbackHttpServer {
public:
    explicit LoopbackHttpServer(QByteArray response) : m_response(std::move(response)) {
        m_server.listen(QHostAddress::LocalHost);
        QObject::connect(&m_server, &QTcpServer::newConnection, [this] { accept(); });
    }

    // An HTTP/1.0 answer with the status line and the body.
    static QByteArray answer(const QByteArray& body, const QByteArray& status = "200 OK") {
        return "HTTP/1.0 " + status +
               "\r\nContent-Type: text/xml\r\nContent-Length: " + QByteArray::number(body.size()) +
               "\r\nConnection: close\r\n\r\n" + body;
    }

    QString baseAddress() const {
        return QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort());
    }
    const QByteArray& request() const { return m_request; }
    int connections() const { return static_cast<int>(m_sockets.size()); }

private:
    void accept() {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            m_sockets.emplace_back(socket);
            QObject::connect(socket, &QTcpSocket::readyRead, [this, socket] {
                m_request += socket->readAll();
                if (!m_response.isNull() && whole()) {
                    socket->write(m_response);
                    socket->disconnectFromHost();
                }
            });
        }
    }

    bool whole() const {
        const qsizetype headEnd = m_request.indexOf("\r\n\r\n");
        if (headEnd < 0)
            return false;
        qsizetype length = 0;
        for (const QByteArray& line : m_request.left(headEnd).split('\n')) {
            if (line.toLower().startsWith("content-length:"))
                length = line.mid(15).trimmed().toLongLong();
        }
        return m_request.size() >= headEnd + 4 + length;
    }

    QTcpServer m_server;
    QByteArray m_response;
    QByteArray m_request;
    std::vector<std::unique_ptr<QTcpSocket>> m_sockets;
};
