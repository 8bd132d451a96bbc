#include "storage/DbConvert.h"
#include "storage/OldLayouts.h"
#include "support/RecordingProgress.h"
#include "support/TestDatabase.h"

#include <QRegularExpression>
#include <algorithm>

using namespace OldLayouts;
using Rows = std::vector<std::string>;

namespace {

const QString kCaption = QString::fromLatin1(DbConvert::kCaption);
class DbConvertTest : public DatabaseTest {
protected:
    bool convert() {
        takeStatements();
        DbConvert converter(*db, progress);
        converter.setTableCreatedHook(hook);
        const bool ok = converter.convert();
        statements = takeStatements();
        vacuumed = converter.vacuumed();
        return ok;
    }

    // A new file for the next case of a table.
    void freshFile() {
        db = openAt(QString("case%1.db").arg(++m_files));
        clearProgress();
    }
    void clearProgress() {
        statements.clear();
        progress.topics.clear();
        progress.items.clear();
        progress.finished = 0;
    }

    void exec(const std::string& sql) { ASSERT_TRUE(db->exec(sql.c_str())) << sql; }

    bool ran(const std::string& statement) const {
        return std::find(statements.begin(), statements.end(), statement) != statements.end();
    }
    bool dropped() const {
        return std::any_of(statements.begin(), statements.end(), [](const std::string& s) {
            return QString::fromStdString(s).startsWith("drop", Qt::CaseInsensitive);
        });
    }

    void fillVersion3File() { runScript(*db, "version3.sql"); }

    // The tables as text: each one's creation statement with its rows (only the tables named,
    // when names are given).
    QStringList tables(const QStringList& only = {}) {
        QStringList out;
        for (const std::string& table :
             rows("select name from sqlite_master where type='table' order by name")) {
            if (!only.isEmpty() && !only.contains(QString::fromStdString(table)))
                continue;
            // The creation statement as the engine keeps it, its first two words upper-cased.
            out << "create table" +
                       QString::fromStdString(
                           rows(("select substr(sql, 13) from sqlite_master where name='" + table +
                                 "'")
                                    .c_str())
                               .at(0));
            for (const std::string& row : rows(("select * from " + table + " order by 1").c_str()))
                out << "  " + QString::fromStdString(row);
        }
        return out;
    }

    // The whole file as text, with what the conversion ran and showed.
    QStringList dump() {
        QStringList out = tables();
        for (const std::string& index :
             rows("select name from sqlite_master where type='index' order by name"))
            out << "index " + QString::fromStdString(index);
        for (const std::string& statement : statements)
            if (QRegularExpression("^(drop|vacuum|update|select (?!\\*|count))")
                    .match(QString::fromStdString(statement))
                    .hasMatch())
                out << "ran " + QString::fromStdString(statement);
        for (const QString& topic : progress.topics)
            out << "topic " + topic;
        for (const QString& item : progress.items)
            out << "item " + item;
        out << QString("progress closed %1 times").arg(progress.finished);
        for (const ScriptedPrompts::Shown& shown : prompts.shown())
            out << "message " + shown.caption + ": " + shown.text;
        return out;
    }

    RecordingProgress progress;
    std::function<void(const QString&)> hook;
    std::vector<std::string> statements;
    bool vacuumed = false;

private:
    int m_files = 0;
};

} // namespace

TEST_F(DbConvertTest, FailureWhileWritingKeepsEveryOldRow) {
    fillVersion3File();
    const QStringList before = tables({"SAMPLE", "SAMPLE_DATE"});
    hook = [this](const QString& table) {
        if (table == "SAMPLE")
            exec("create trigger stop before insert on SAMPLE when new.PK = 11 begin select "
                 "raise(abort, 'disk full'); end");
    };
    prompts.expect(kCaption, "Could not convert SAMPLE: disk full");

    EXPECT_FALSE(convert());

    EXPECT_TRUE(ran("drop table SAMPLE")); // it got as far as that
    // The days written back already go back too, and so does the quick-bolus row that would
    // mark the conversion done.
    EXPECT_EQ(tables({"SAMPLE", "SAMPLE_DATE"}), before);
    EXPECT_TRUE(tables({"QB_PREFERENCE"}).isEmpty());
    EXPECT_FALSE(ran("vacuum"));
    EXPECT_EQ(db->openUnits(), 0);
    hook = nullptr;
    ASSERT_TRUE(convert());
    EXPECT_EQ(rows("select count(*) from SAMPLE"), Rows{"3"});
}

// Each scenario starts from the old file or a current one, changes it by a script, and must
// end as its golden file: the result, the tables, what ran and what was shown. A file once
// converted passes through a second conversion untouched.
TEST_F(DbConvertTest, ScenariosEndAsTheirGoldenFiles) {
    prompts.allowAny();
    const std::tuple<bool, const char*, const char*> scenarios[] = {
        {false, "", "converted_current.txt"},
        // The old file whole; again with its columns in other letter case, to the same end.
        {true, "", "converted_version3.txt"},
        {true, "convert_lower_case_columns.sql", "converted_version3.txt"},
        {false, "convert_vitals_without_weight.sql", "converted_vitals_without_weight.txt"},
        // Preferences without a row 1 are left as they were, and the conversion fails.
        {false, "convert_no_preference_row.sql", "converted_no_preference_row.txt"},
        {false, "convert_no_preference_row_one.sql", "converted_no_preference_row_one.txt"},
        // mmol/L stays mmol/L; the phone was not in the old row and takes its default.
        {true, "convert_preference_unit_old_range.sql", "converted_preference_unit.txt"},
        // Two old rows under one key would be merged away: refused, old rows kept.
        {true, "convert_rows_sharing_a_key.sql", "converted_rows_sharing_a_key.txt"},
        {false, "convert_no_vitals_table.sql", "converted_no_vitals_table.txt"},
    };
    for (const auto& [old, script, golden] : scenarios) {
        freshFile();
        old ? fillVersion3File() : createCurrentLayout(*db);
        if (*script)
            runScript(*db, script);
        // Only the file nobody changed needs nothing; telling so writes nothing.
        const auto before = statements;
        EXPECT_EQ(DbConvert(*db, progress).isCurrent(), !old && !*script) << golden;
        for (size_t i = before.size(); i < statements.size(); ++i)
            EXPECT_TRUE(statements[i].starts_with("select")) << statements[i];
        statements = before;
        prompts.clear();
        const bool converted = convert();
        expectGolden(QStringList{converted ? "converted" : "failed"} + dump(), golden);
        if (!converted)
            continue;
        EXPECT_TRUE(DbConvert(*db, progress).isCurrent()) << golden;
        const QStringList tablesBefore = tables();
        clearProgress();
        ASSERT_TRUE(convert()) << golden;
        EXPECT_EQ(tables(), tablesBefore) << golden;
        EXPECT_FALSE(dropped() || vacuumed || ran("vacuum") || progress.finished) << golden;
    }
}

TEST_F(DbConvertTest, ClosedDatabaseIsReported) {
    Database closed(prompts);
    prompts.expect(kCaption, QStringLiteral("Db is null"));
    EXPECT_FALSE(DbConvert(closed, progress).convert());
}
