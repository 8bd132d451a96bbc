#include "sidelogs/A1cForm.h"

#include "logbook/LocalMoment.h"
#include "logbook/LogbookContext.h"
#include "storage/A1cTable.h"
#include "storage/Clock.h"
#include "storage/FieldLimits.h"
#include "storage/Text.h"

namespace {

// Noon of a day exists whatever the clock does that night.
constexpr int kNoon = 12;

} // namespace

A1cForm::A1cForm(LogbookContext& context)
    : m_context(context), m_date(momentOf(context.clock().now()).date),
      m_count(QString::fromLatin1(kNewCount)) {}

bool A1cForm::load(int pk) {
    auto stored = A1cTable::getByPk(m_context.database(), pk);
    if (!stored)
        return false;
    m_record = *stored;
    m_count = m_record.getA1cCount();
    try {
        m_date = momentOf(fromDateText(m_record.getA1cDate())).date;
    } catch (const InvalidDateText&) {
        // A damaged date cannot be shown; the picker starts at today, which the patient sees
        // before storing.
        m_date = momentOf(m_context.clock().now()).date;
    }
    return true;
}

void A1cForm::setDate(QDate date) {
    if (date.isValid() && date.year() >= 1900)
        m_date = date;
}

std::optional<A1cForm::Refusal> A1cForm::validate() const {
    if (charCount(m_count) > kCountChars)
        return Refusal{textLengthText(kCountChars), Field::Count};
    return std::nullopt;
}

std::optional<A1cForm::Field> A1cForm::check() {
    return tellRefusal(m_context.prompts(), validate());
}

int A1cForm::store() {
    m_record.setA1cDate(toDateText(timeOf(m_date, QTime(kNoon, 0))));
    m_record.setA1cCount(m_count);
    Database& db = m_context.database();
    if (!reportWrite(db, m_context.prompts(), A1cTable::save(db, m_record)))
        return 0;
    return m_record.getPk();
}
