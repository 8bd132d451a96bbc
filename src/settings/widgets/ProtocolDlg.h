#pragma once

#include "storage/Protocol.h"

#include <QDialog>

class LogbookContext;
class QPlainTextEdit;
class QPushButton;
class StoredDateEdit;

// Edits one treatment protocol on its own copy: its text and the day it takes effect.
class ProtocolDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTextChars = 256;

    ProtocolDlg(LogbookContext& context, const Protocol& protocol, QWidget* parent = nullptr);

    const Protocol& record() const { return m_record; }

    QPlainTextEdit* textEdit() const { return m_text; }
    StoredDateEdit* effectiveDatePicker() const { return m_effective; }
    QPushButton* okButton() const { return m_ok; }

    void accept() override;

private:
    void keepToLimit();

    Protocol m_record;
    QPlainTextEdit* m_text = nullptr;
    StoredDateEdit* m_effective = nullptr;
    QPushButton* m_ok = nullptr;
};
