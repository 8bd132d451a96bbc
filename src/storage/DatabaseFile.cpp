#include "storage/DatabaseFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QUrl>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

namespace DatabaseFile {
namespace {

// The engine's connections closed on every path.
struct Connection {
    sqlite3* handle = nullptr;
    ~Connection() { sqlite3_close(handle); }
};

QString engineError(sqlite3* handle, int code) {
    const char* text = handle ? sqlite3_errmsg(handle) : sqlite3_errstr(code);
    return QString::fromUtf8(text ? text : sqlite3_errstr(code));
}

bool openReadOnly(const QString& path, Connection& connection, QString& error) {
    if (!QFileInfo(path).isFile()) {
        error = QStringLiteral("the file does not exist");
        return false;
    }
    // A reader of a file in write-ahead-log mode leaves an empty log and its index beside the
    // file, which a read-only connection cannot remove. A file without a log beside it is
    // opened as unchanging instead, which reads it without either; a log that exists holds
    // changes the copy must have, so that file is read through it.
    QByteArray name = QFile::encodeName(path);
    int flags = SQLITE_OPEN_READONLY;
    // A journal beside it is the trace of an interrupted write, which only a normal reader
    // rolls back.
    if (!QFileInfo::exists(path + QStringLiteral("-wal")) &&
        !QFileInfo::exists(path + QStringLiteral("-journal"))) {
        name = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toEncoded() + "?immutable=1";
        flags |= SQLITE_OPEN_URI;
    }
    int rc = sqlite3_open_v2(name.constData(), &connection.handle, flags, nullptr);
    if (rc != SQLITE_OK) {
        error = engineError(connection.handle, rc);
        return false;
    }
    return true;
}

// A name beside the target that no other writer uses.
QString partPath(const QString& targetPath) {
    QFileInfo target(targetPath);
    return target.absoluteDir().filePath(
        QStringLiteral(".%1.%2.part")
            .arg(target.fileName())
            .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
}

bool flushFolder(const QString& folder) {
    int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return false;
    bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

} // namespace

bool isDatabaseFile(const QString& path) {
    static const QByteArray header("SQLite format 3", 16); // with its closing NUL
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(header.size()) == header;
}

bool flushFile(const QString& path) {
    int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd < 0)
        return false;
    bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

bool copyFrom(sqlite3* source, const QString& targetPath, QString& error) {
    const QString part = partPath(targetPath);
    QFile::remove(part);
    bool ok = false;
    {
        Connection target;
        int rc = sqlite3_open_v2(QFile::encodeName(part).constData(), &target.handle,
                                 SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        if (rc != SQLITE_OK) {
            error = engineError(target.handle, rc);
        } else if (sqlite3_backup* backup =
                       sqlite3_backup_init(target.handle, "main", source, "main")) {
            rc = sqlite3_backup_step(backup, -1);
            sqlite3_backup_finish(backup);
            if (rc == SQLITE_DONE) {
                // The copy stands alone: no write-ahead log belongs to it.
                ok = sqlite3_exec(target.handle, "pragma journal_mode=DELETE", nullptr, nullptr,
                                  nullptr) == SQLITE_OK;
                if (!ok)
                    error = engineError(target.handle, SQLITE_ERROR);
            } else {
                error = QString::fromUtf8(sqlite3_errstr(rc));
            }
        } else {
            error = engineError(target.handle, SQLITE_ERROR);
        }
    }
    if (ok && !flushFile(part)) {
        error = QStringLiteral("the copy could not be written to the disk");
        ok = false;
    }
    if (ok)
        ok = moveOver(part, targetPath, error);
    if (!ok) {
        QFile::remove(part);
        for (const char* side : {"-journal", "-wal", "-shm"})
            QFile::remove(part + QLatin1String(side));
        return false;
    }
    return true;
}

bool moveOver(const QString& fromPath, const QString& targetPath, QString& error) {
    if (std::rename(QFile::encodeName(fromPath).constData(),
                    QFile::encodeName(targetPath).constData()) != 0) {
        error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    // The new name is only durable once the folder itself is on the disk.
    flushFolder(QFileInfo(targetPath).absolutePath());
    return true;
}

bool copy(const QString& sourcePath, const QString& targetPath, QString& error) {
    Connection source;
    if (!openReadOnly(sourcePath, source, error))
        return false;
    return copyFrom(source.handle, targetPath, error);
}

bool checkPatientDatabase(const QString& path, QString& why) {
    Connection connection;
    if (!openReadOnly(path, connection, why))
        return false;
    sqlite3_stmt* statement = nullptr;
    int rc =
        sqlite3_prepare_v2(connection.handle, "pragma integrity_check", -1, &statement, nullptr);
    if (rc != SQLITE_OK) {
        why = rc == SQLITE_NOTADB
                  ? QStringLiteral("it is not a database file")
                  : QStringLiteral("it cannot be read: %1").arg(engineError(connection.handle, rc));
        sqlite3_finalize(statement);
        return false;
    }
    rc = sqlite3_step(statement);
    QString verdict;
    if (rc == SQLITE_ROW)
        verdict =
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    sqlite3_finalize(statement);
    if (rc == SQLITE_NOTADB) {
        why = QStringLiteral("it is not a database file");
        return false;
    }
    if (rc != SQLITE_ROW) {
        why = QStringLiteral("it cannot be read: %1").arg(engineError(connection.handle, rc));
        return false;
    }
    if (verdict != QLatin1String("ok")) {
        why = QStringLiteral("it is damaged (%1)").arg(verdict);
        return false;
    }
    rc = sqlite3_prepare_v2(connection.handle,
                            "select count(*) from sqlite_master where type = 'table' and "
                            "upper(name) in ('SAMPLE', 'SAMPLE_DATE', 'PREFERENCE', 'NOTE')",
                            -1, &statement, nullptr);
    int tables = 0;
    if (rc == SQLITE_OK && sqlite3_step(statement) == SQLITE_ROW)
        tables = sqlite3_column_int(statement, 0);
    sqlite3_finalize(statement);
    if (tables != 4) {
        why = QStringLiteral("it does not hold a Quillmarch logbook");
        return false;
    }
    return true;
}

} // namespace DatabaseFile
