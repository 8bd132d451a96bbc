#pragma once

#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;
class QLocalSocket;
class QLockFile;

// Keeps a patient open in one running program only. The first program to open a patient
// holds a lock file named after the patient and listens on a local socket; a second one
// finds the lock held, asks the first to come forward through the socket, and gives up.
// A lock left behind by a program that crashed is taken over.
class InstanceGuard : public QObject {
    Q_OBJECT

public:
    // The lock files go into `folder`; the application-data folder when empty.
    explicit InstanceGuard(const QString& folder = QString(), QObject* parent = nullptr);
    ~InstanceGuard() override;

    // Takes the patient for this program. False when another live program holds the
    // patient (it has been asked to come forward) or the lock cannot be made at all.
    // A patient held before is released first.
    bool acquire(const QString& patientName);
    void release();
    bool isHeld() const;

    // Where the lock of a patient lives and the name its program listens under.
    QString lockFilePath(const QString& patientName) const;
    QString serverName(const QString& patientName) const;

signals:
    // Another program wanted to open the patient this one holds.
    void raiseRequested();

private:
    void listen(const QString& patientName);
    bool askOwnerToRaise(const QString& patientName) const;
    void readRequest(QLocalSocket& socket);
    static bool ownerIsGone(const QLockFile& lock);
    QString baseName(const QString& patientName) const;

    QString m_folder;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
};
