#pragma once

#include "sidelogs/SideLogs.h"
#include "storage/A1c.h"

#include <QDate>
#include <QString>
#include <optional>

class LogbookContext;

// The A1c item editor without its widgets: a result's date and count, their defaults, the
// check made before storing and the storing itself.
class A1cForm {
public:
    // The count column keeps five characters.
    static constexpr int kCountChars = 5;
    static constexpr const char* kNewCount = "0.0";

    enum class Field { Count };
    using Refusal = FieldRefusal<Field>;

    // A new result: today, with the count "0.0".
    explicit A1cForm(LogbookContext& context);

    // Opens the stored result with that key; false when no row has it.
    bool load(int pk);
    bool isNew() const { return m_record.getPk() == 0; }
    LogbookContext& context() const { return m_context; }

    QDate date() const { return m_date; }
    // A date before 1900 or an invalid one is ignored.
    void setDate(QDate date);
    const QString& count() const { return m_count; }
    void setCount(const QString& count) { m_count = count; }

    // The first refusal, or nothing when the result can be stored.
    std::optional<Refusal> validate() const;
    // validate(), telling the patient of a refusal; the field to correct, or nothing.
    std::optional<Field> check();

    // Stores the result (a new row, or the stored row updated) and answers its key; 0 when
    // the write failed, which has been reported.
    int store();

private:
    LogbookContext& m_context;
    A1c m_record;
    QDate m_date;
    QString m_count;
};
