#pragma once

#include "settings/PreferenceRules.h"
#include "settings/PreferenceStore.h"
#include "ui/widgets/PropertySheet.h"

#include <QColor>

class PatientSettingsContext;
class QLineEdit;

// A small square of the colour key: solid for values beyond the extreme limits, an outline
// for values only outside the target range, as the logbook draws them.
class ColourKeyBox : public QWidget {
    Q_OBJECT
public:
    ColourKeyBox(const QColor& colour, bool solid, QWidget* parent = nullptr);

    QColor colour() const { return m_colour; }
    bool solid() const { return m_solid; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_colour;
    bool m_solid;
};

// The Ranges page: the glucose target range with its extreme limits, which follow from the
// low and high limits, and the blood-pressure thresholds, all from the stored preference row.
class GlucoseRangeDlg : public PropertyPage {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "Ranges";

    explicit GlucoseRangeDlg(PatientSettingsContext& context, QWidget* parent = nullptr);
    ~GlucoseRangeDlg() override;

    // Checks low, high, extreme low and extreme high in that order, then the ranges and the
    // order of all limits (rangeRefusal); the first refused field is reported and keeps the
    // focus.
    bool validate() override;
    bool apply() override;

    // The values as of the last apply (as read when nothing was applied yet).
    RangeFields fields() const { return m_fields; }

    // The patient left the low (high) field: when its text is accepted, the extreme limit
    // beyond it is derived again. False when the text was refused.
    bool lowLeft();
    bool highLeft();

    QLineEdit* extLowEdit() const { return m_extLo; }
    QLineEdit* lowEdit() const { return m_lo; }
    QLineEdit* highEdit() const { return m_hi; }
    QLineEdit* extHighEdit() const { return m_extHi; }
    // 0 normal, 1 moderate, 2 high.
    QLineEdit* systolicEdit(int column) const { return m_systolic[column]; }
    QLineEdit* diastolicEdit(int column) const { return m_diastolic[column]; }

private:
    RangeTexts texts() const;
    QLineEdit* editOf(RangeField field) const;
    bool checkField(QLineEdit* edit);
    bool leaveLimit(QLineEdit* limit, QLineEdit* extreme, int (*extremeFor)(int));

    PatientSettingsContext& m_context;
    int m_unit;
    RangeFields m_fields;
    bool m_reporting = false;
    // The low (high) text was edited since its extreme limit was last derived.
    bool m_lowEdited = false;
    bool m_highEdited = false;
    QLineEdit* m_extLo = nullptr;
    QLineEdit* m_lo = nullptr;
    QLineEdit* m_hi = nullptr;
    QLineEdit* m_extHi = nullptr;
    QLineEdit* m_systolic[3] = {};
    QLineEdit* m_diastolic[3] = {};
};
