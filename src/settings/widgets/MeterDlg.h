#pragma once

#include "storage/Meter.h"

#include <QDialog>

class LogbookContext;
class QLineEdit;
class QPushButton;
class StoredDateEdit;

// Edits one glucose meter or pump on its own copy.
class MeterDlg : public QDialog {
    Q_OBJECT
public:
    MeterDlg(LogbookContext& context, const Meter& meter, QWidget* parent = nullptr);

    const Meter& record() const { return m_record; }

    QLineEdit* descEdit() const { return m_desc; }
    QLineEdit* modelEdit() const { return m_model; }
    QLineEdit* mfgEdit() const { return m_mfg; }
    QLineEdit* serialEdit() const { return m_serial; }
    StoredDateEdit* serviceDatePicker() const { return m_serviceDate; }
    QPushButton* okButton() const { return m_ok; }

    void accept() override;

private:
    Meter m_record;
    QLineEdit* m_desc = nullptr;
    QLineEdit* m_model = nullptr;
    QLineEdit* m_mfg = nullptr;
    QLineEdit* m_serial = nullptr;
    StoredDateEdit* m_serviceDate = nullptr;
    QPushButton* m_ok = nullptr;
};
