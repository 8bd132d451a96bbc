#include "sidelogs/FoodForm.h"

#include "logbook/LogbookContext.h"
#include "storage/CarbsTable.h"
#include "storage/FieldLimits.h"
#include "storage/Text.h"

FoodForm::FoodForm(LogbookContext& context)
    : m_context(context), m_carbs(QString::number(m_record.getCarbCnt())) {}

bool FoodForm::load(int pk) {
    auto stored = CarbsTable::getByPk(m_context.database(), pk);
    if (!stored)
        return false;
    m_record = *stored;
    m_name = m_record.getCarbName();
    m_carbs = QString::number(m_record.getCarbCnt());
    return true;
}

std::optional<FoodForm::Refusal> FoodForm::validate() const {
    if (charCount(m_name) > kNameChars)
        return Refusal{textLengthText(kNameChars), Field::Name};
    const std::optional<long long> grams = wholeNumber(m_carbs);
    if (!grams || !FieldLimits::kServingCarbs.contains(*grams))
        return Refusal{integerRangeText(FieldLimits::kServingCarbs), Field::Carbs};
    return std::nullopt;
}

std::optional<FoodForm::Field> FoodForm::check() {
    return tellRefusal(m_context.prompts(), validate());
}

int FoodForm::store() {
    m_record.setCarbName(m_name);
    m_record.setCarbCnt(static_cast<int>(wholeNumber(m_carbs).value_or(0)));
    Database& db = m_context.database();
    if (!reportWrite(db, m_context.prompts(), CarbsTable::save(db, m_record)))
        return 0;
    return m_record.getPk();
}
