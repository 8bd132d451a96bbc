#include "storage/Database.h"

#include "ui/Prompts.h"

#include <sqlite3.h>

namespace {

// Holds the text of the last failed Database::openFile for the caller to report.
QString& openErrorBuffer() {
    static QString text;
    return text;
}

QString takeEngineMessage(char* message) {
    QString text = message ? QString::fromUtf8(message) : QString();
    sqlite3_free(message);
    return text;
}

} // namespace

Database::Database(Prompts& prompts) : m_prompts(prompts) {}

Database::Database(const QString& path, Prompts& prompts, Access access) : m_prompts(prompts) {
    open(path, access);
}

Database::~Database() {
    close();
}

bool Database::open(const QString& path, Access access) {
    if (m_connection)
        return true;
    m_path = cutToChars(path, kMaxPathChars);
    sqlite3* connection = nullptr;
    const int flags = access == Access::ReadOnly ? SQLITE_OPEN_READONLY
                                                 : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    int code = sqlite3_open_v2(m_path.toUtf8().constData(), &connection, flags, nullptr);
    if (code == SQLITE_OK) {
        // The engine opens any file lazily; reading the schema now makes a file that is not
        // a database fail here, before anything is written to it.
        code = sqlite3_exec(connection, "select count(*) from sqlite_master", nullptr, nullptr,
                            nullptr);
    }
    if (code != SQLITE_OK) {
        m_lastError = code;
        setErrorText(connection ? QString::fromUtf8(sqlite3_errmsg(connection))
                                : QString::fromUtf8(sqlite3_errstr(code)));
        sqlite3_close(connection);
        m_prompts.error(QStringLiteral("Database"), m_errorText);
        return false;
    }
    m_connection = connection;
    prepareConnection(access);
    return true;
}

void Database::prepareConnection(Access access) {
    // Another program (the handheld conduit) may hold the file for a moment.
    constexpr int kBusyMs = 2000;
    // Switching the journal would write to the file.
    if (access == Access::ReadOnly) {
        sqlite3_busy_timeout(m_connection, kBusyMs);
        return;
    }
    // Write-ahead logging lets every single-entry save commit without rewriting pages in
    // place, and with synchronous=FULL each commit is on disk before the save reports
    // success, so a crash or power cut never takes back an entry the patient saw stored.
    // A file that cannot switch (read-only media) simply keeps its rollback journal.
    sqlite3_exec(m_connection, "pragma journal_mode=WAL", nullptr, nullptr, nullptr);
    sqlite3_exec(m_connection, "pragma synchronous=FULL", nullptr, nullptr, nullptr);
    sqlite3_busy_timeout(m_connection, kBusyMs);
}

void Database::close() {
    if (!m_connection)
        return;
    sqlite3_close(m_connection);
    m_connection = nullptr;
}

std::unique_ptr<Database> Database::openFile(const QString& path, Prompts& prompts, Access access) {
    auto database = std::make_unique<Database>(path, prompts, access);
    if (database->isOpen())
        return database;
    openErrorBuffer() = database->errorText();
    return nullptr;
}

QString Database::lastOpenError() {
    return openErrorBuffer();
}

void Database::setErrorText(const QString& text) {
    m_errorText = cutToChars(text, kMaxErrorChars);
}

bool Database::build(const char* format, const SqlArgs& args, std::string& statement) {
    if (!formatStatement(format, args, statement)) {
        m_lastError = SQLITE_MISUSE;
        setErrorText(
            QStringLiteral("Statement arguments do not fit: %1").arg(QString::fromUtf8(format)));
        return false;
    }
    if (m_observer)
        m_observer(statement);
    return true;
}

bool Database::execArgs(const char* format, const SqlArgs& args) {
    std::string statement;
    if (!build(format, args, statement))
        return false;
    if (!m_connection) {
        m_lastError = SQLITE_MISUSE;
        setErrorText(QStringLiteral("The database is not open"));
        return false;
    }
    char* message = nullptr;
    m_lastError = sqlite3_exec(m_connection, statement.c_str(), nullptr, nullptr, &message);
    QString text = takeEngineMessage(message);
    if (m_lastError != SQLITE_OK)
        setErrorText(text);
    return m_lastError == SQLITE_OK;
}

std::unique_ptr<Query> Database::queryArgs(const char* format, const SqlArgs& args) {
    std::string statement;
    bool built = build(format, args, statement);
    sqlite3_stmt* compiled = nullptr;
    if (built && m_connection) {
        m_lastError = sqlite3_prepare_v2(m_connection, statement.c_str(), -1, &compiled, nullptr);
        if (m_lastError != SQLITE_OK)
            setErrorText(QString::fromUtf8(sqlite3_errmsg(m_connection)));
    } else if (built) {
        m_lastError = SQLITE_MISUSE;
        setErrorText(QStringLiteral("The database is not open"));
    }
    if (m_lastError != SQLITE_OK || !built) {
        sqlite3_finalize(compiled);
        m_prompts.error(QStringLiteral("Database"), m_errorText);
        return nullptr;
    }
    return std::make_unique<Query>(*this, compiled);
}

int Database::countArgs(const char* format, const SqlArgs& args) {
    auto q = queryArgs(format, args);
    if (!q)
        return -1;
    return q->step() ? static_cast<int>(q->intValue(0)) : 0;
}

bool Database::tableExists(const QString& name) {
    auto q = query("select name from sqlite_master where type = 'table' and name = %Q", name);
    return q && q->step();
}

int Database::lastInsertRowId() const {
    return m_connection ? static_cast<int>(sqlite3_last_insert_rowid(m_connection)) : 0;
}
