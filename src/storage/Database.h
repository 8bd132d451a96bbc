#pragma once

#include "storage/Query.h"
#include "storage/SqlArg.h"
#include "storage/Text.h"

#include <QString>
#include <functional>
#include <memory>

struct sqlite3;
class Prompts;

// The one connection to a patient's database file. Every statement is built from a
// format and arguments by the engine's formatter; texts enter only through %Q.
class Database {
public:
    static constexpr int kMaxPathChars = 143;
    static constexpr int kMaxErrorChars = 99;

    // A read-only connection never creates, converts or writes anything: for jobs that only
    // read a patient's file.
    enum class Access { ReadWrite, ReadOnly };

    explicit Database(Prompts& prompts);
    Database(const QString& path, Prompts& prompts, Access access = Access::ReadWrite);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens the file (creating it when missing, unless read-only). An open Database stays as
    // it is. A failure is shown once under the caption "Database".
    bool open(const QString& path, Access access = Access::ReadWrite);
    void close();
    bool isOpen() const { return m_connection != nullptr; }

    // The patient's file: the open Database, or nothing with lastOpenError() set.
    static std::unique_ptr<Database> openFile(const QString& path, Prompts& prompts,
                                              Access access = Access::ReadWrite);
    static QString lastOpenError();

    // Runs a statement that returns no rows; shows nothing on failure.
    bool execArgs(const char* format, const SqlArgs& args);
    template <class... A> bool exec(const char* format, const A&... args) {
        return execArgs(format, SqlArgs{SqlArg(args)...});
    }

    // Compiles a statement whose rows are read with Query::step. A compile failure is
    // shown under the caption "Database" and yields nothing.
    std::unique_ptr<Query> queryArgs(const char* format, const SqlArgs& args);
    template <class... A> std::unique_ptr<Query> query(const char* format, const A&... args) {
        return queryArgs(format, SqlArgs{SqlArg(args)...});
    }

    // First column of the first row as an integer; -1 when the statement does not compile.
    template <class... A> int count(const char* format, const A&... args) {
        return countArgs(format, SqlArgs{SqlArg(args)...});
    }
    int countArgs(const char* format, const SqlArgs& args);

    bool tableExists(const QString& name);
    int lastInsertRowId() const;

    const QString& path() const { return m_path; }
    const QString& errorText() const { return m_errorText; }
    int lastError() const { return m_lastError; }
    void setErrorText(const QString& text);
    void setLastError(int code) { m_lastError = code; }
    sqlite3* handle() const { return m_connection; }
    Prompts& prompts() const { return m_prompts; }

    // Units of work (Transaction) open on this connection.
    int openUnits() const { return m_openUnits; }
    void setOpenUnits(int units) { m_openUnits = units; }

    // Sees the text of every statement run or compiled (tests check exact statements).
    void setStatementObserver(std::function<void(const std::string&)> observer) {
        m_observer = std::move(observer);
    }

private:
    void prepareConnection(Access access);
    bool build(const char* format, const SqlArgs& args, std::string& statement);

    Prompts& m_prompts;
    sqlite3* m_connection = nullptr;
    QString m_path;
    int m_lastError = 0;
    QString m_errorText;
    int m_openUnits = 0;
    std::function<void(const std::string&)> m_observer;
};
