#pragma once

#include "bolus/QbSetup.h"
#include "ui/widgets/PropertySheet.h"

class QComboBox;
class QLineEdit;

// The General page: the insulin used for bolusing and how long it stays active. Applying it
// switches the calculator on when every schedule has rows.
class QbPrefGeneral : public PropertyPage {
    Q_OBJECT
public:
    explicit QbPrefGeneral(LogbookContext& context, QWidget* parent = nullptr);

    // The minutes must lie in range; otherwise the patient is told and the field keeps the
    // focus.
    bool validate() override;
    bool apply() override;

    QbGeneralSetup& setup() { return m_setup; }
    QComboBox* insulinBox() const { return m_insulin; }
    QLineEdit* minutesEdit() const { return m_minutes; }

private:
    QbGeneralSetup m_setup;
    QComboBox* m_insulin = nullptr;
    QLineEdit* m_minutes = nullptr;
};
