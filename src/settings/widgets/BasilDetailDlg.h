#pragma once

#include "settings/PreferenceRules.h"
#include "storage/BasilRate.h"

#include <QDialog>

class LogbookContext;
class QLineEdit;
class QPushButton;
class QTimeEdit;

// Edits one basal rate on its own copy: the time it starts and the rate per hour. OK closes
// only when the rate is a valid dosage and no other row starts at that time.
class BasilDetailDlg : public QDialog {
    Q_OBJECT
public:
    BasilDetailDlg(LogbookContext& context, const BasilRate& rate, QWidget* parent = nullptr);

    const BasilRate& record() const { return m_record; }

    QTimeEdit* timePicker() const { return m_time; }
    QLineEdit* rateEdit() const { return m_rate; }
    QPushButton* okButton() const { return m_ok; }

    void accept() override;

private:
    LogbookContext& m_context;
    BasilRate m_record;
    PickedTime m_start;
    QTimeEdit* m_time = nullptr;
    QLineEdit* m_rate = nullptr;
    QPushButton* m_ok = nullptr;
};
