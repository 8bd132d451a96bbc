#include "app/InstanceGuard.h"

#include "app/PatientFiles.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QSysInfo>
#include <QThread>

#include <cerrno>
#include <csignal>

namespace {

constexpr char kRaiseMessage[] = "raise\n";
constexpr int kConnectMs = 1000;
constexpr int kConnectAttempts = 3;
constexpr int kRetryPauseMs = 200;

} // namespace

InstanceGuard::InstanceGuard(const QString& folder, QObject* parent)
    : QObject(parent), m_folder(folder.isEmpty() ? PatientFiles::dataFolder() : folder) {}

InstanceGuard::~InstanceGuard() {
    release();
}

QString InstanceGuard::baseName(const QString& patientName) const {
    // Names that reduce to the same file name ("Jo Smith", "JoSmith") are still different
    // patients; the hash of the exact name keeps their locks apart.
    const QByteArray hash =
        QCryptographicHash::hash(patientName.toUtf8(), QCryptographicHash::Sha1).toHex();
    return PatientFiles::makeFileName(patientName) + u'-' + QString::fromLatin1(hash.left(12));
}

QString InstanceGuard::lockFilePath(const QString& patientName) const {
    return m_folder + u'/' + baseName(patientName) + QStringLiteral(".lock");
}

QString InstanceGuard::serverName(const QString& patientName) const {
    // Local socket names share one folder for the whole machine: the lock folder (one per
    // user account) is part of the name, so two accounts never meet.
    const QByteArray folder =
        QCryptographicHash::hash(QDir(m_folder).absolutePath().toUtf8(), QCryptographicHash::Sha1)
            .toHex();
    return QStringLiteral("quillmarch-%1-%2")
        .arg(baseName(patientName), QString::fromLatin1(folder.left(12)));
}

bool InstanceGuard::acquire(const QString& patientName) {
    release();
    if (!QDir().mkpath(m_folder))
        return false;
    auto lock = std::make_unique<QLockFile>(lockFilePath(patientName));
    // No age makes a lock stale: only a lock whose program is gone is, and tryLock takes
    // such a lock over by itself.
    lock->setStaleLockTime(0);
    bool locked = lock->tryLock(0);
    if (!locked && lock->error() == QLockFile::LockFailedError && ownerIsGone(*lock)) {
        // The owner ended between tryLock's two looks at the file.
        locked = lock->removeStaleLockFile() && lock->tryLock(0);
    }
    if (!locked) {
        if (lock->error() == QLockFile::LockFailedError)
            askOwnerToRaise(patientName);
        return false;
    }
    m_lock = std::move(lock);
    listen(patientName);
    return true;
}

bool InstanceGuard::ownerIsGone(const QLockFile& lock) {
    qint64 pid = 0;
    QString hostName;
    QString appName;
    if (!lock.getLockInfo(&pid, &hostName, &appName))
        return false;
    if (!hostName.isEmpty() && hostName != QSysInfo::machineHostName())
        return false; // a program on another machine cannot be asked
    return pid > 0 && ::kill(static_cast<pid_t>(pid), 0) == -1 && errno == ESRCH;
}

void InstanceGuard::listen(const QString& patientName) {
    const QString name = serverName(patientName);
    // The lock is ours, so a socket file of that name is a crashed program's leftover.
    QLocalServer::removeServer(name);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this,
                    [this, socket] { readRequest(*socket); });
            // The message may have come with the connection.
            readRequest(*socket);
        }
    });
    // Without the socket the lock still keeps a second program out; it only cannot bring
    // this one forward.
    m_server->listen(name);
}

void InstanceGuard::readRequest(QLocalSocket& socket) {
    while (socket.canReadLine()) {
        if (socket.readLine() == kRaiseMessage)
            emit raiseRequested();
    }
}

bool InstanceGuard::askOwnerToRaise(const QString& patientName) const {
    // The owner may have taken the lock an instant ago and not be listening yet.
    for (int attempt = 0; attempt < kConnectAttempts; ++attempt) {
        if (attempt > 0)
            QThread::msleep(kRetryPauseMs);
        QLocalSocket socket;
        socket.connectToServer(serverName(patientName));
        if (!socket.waitForConnected(kConnectMs))
            continue;
        socket.write(kRaiseMessage);
        const bool sent = socket.waitForBytesWritten(kConnectMs);
        socket.disconnectFromServer();
        if (sent)
            return true;
    }
    return false;
}

void InstanceGuard::release() {
    if (m_server) {
        m_server->close();
        delete m_server;
        m_server = nullptr;
    }
    if (m_lock) {
        m_lock->unlock();
        m_lock.reset();
    }
}

bool InstanceGuard::isHeld() const {
    return m_lock && m_lock->isLocked();
}
