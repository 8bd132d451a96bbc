#pragma once

#include "sidelogs/SideLogs.h"
#include "storage/Carbs.h"

#include <QString>
#include <optional>

class LogbookContext;

// The food item editor without its widgets: a food's name and serving size and its
// carbohydrate content, their defaults, the checks made before storing and the storing.
class FoodForm {
public:
    // The name column keeps 25 characters.
    static constexpr int kNameChars = 25;

    enum class Field { Name, Carbs };
    using Refusal = FieldRefusal<Field>;

    // A new food: no name, 0 grams.
    explicit FoodForm(LogbookContext& context);

    // Opens the stored food with that key; false when no row has it.
    bool load(int pk);
    bool isNew() const { return m_record.getPk() == 0; }
    LogbookContext& context() const { return m_context; }

    const QString& name() const { return m_name; }
    void setName(const QString& name) { m_name = name; }
    // The grams as typed.
    const QString& carbs() const { return m_carbs; }
    void setCarbs(const QString& carbs) { m_carbs = carbs; }

    // The first refusal in field order, or nothing when the food can be stored. The grams
    // must be a whole number from 0 to 300.
    std::optional<Refusal> validate() const;
    // validate(), telling the patient of a refusal; the field to correct, or nothing.
    std::optional<Field> check();

    // Stores the food (a new row, or the stored row updated) and answers its key; 0 when the
    // write failed, which has been reported. Only what validate() accepted may be stored.
    int store();

private:
    LogbookContext& m_context;
    Carbs m_record;
    QString m_name;
    QString m_carbs;
};
