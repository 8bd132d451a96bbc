#pragma once

#include "app/DefaultData.h"
#include "storage/Clock.h"
#include "storage/Conversions.h"
#include "storage/Database.h"
#include "storage/Preference.h"
#include "support/TestLogbookContext.h"
#include "ui/Prompts.h"

#include <memory>

// Days whose entry count is not that of their live entries: a day the import touched but did
// not summarize.
inline constexpr const char* kUnsummarizedDays =
    "select count(*) from SAMPLE_DATE d where TTL_SAMPLE_CNT <> (select count(*) from SAMPLE s "
    "where s.SAMPLE_DATE_PK = d.PK and s.sync_state <> 30)";

// A new patient's database in memory, made once for the whole run. Each input is imported in
// a unit of work that is rolled back afterwards, so every input meets the same logbook.
class FuzzImportDatabase {
public:
    FuzzImportDatabase() : m_db(QStringLiteral(":memory:"), m_prompts) {
        Preference preference;
        preference.setPatientName(QStringLiteral("Fuzz"));
        // Every record is kept, whatever its date.
        preference.setRetainPcDayCnt(0);
        if (!DefaultData::initNewDatabase(m_db, preference, m_clock))
            std::abort();
        m_context = std::make_unique<TestLogbookContext>(m_db, m_prompts, m_clock.now());
    }

    Database& db() { return m_db; }
    TestLogbookContext& context() { return *m_context; }
    int count(const char* sql) { return m_db.count(sql); }

private:
    SilentPrompts m_prompts;
    FixedClock m_clock{fromDateTimeText(QStringLiteral("20240310120000"))};
    Database m_db;
    std::unique_ptr<TestLogbookContext> m_context;
};
