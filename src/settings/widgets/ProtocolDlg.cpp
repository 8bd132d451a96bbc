#include "settings/widgets/ProtocolDlg.h"

#include "logbook/LogbookContext.h"
#include "settings/SettingsLists.h"
#include "settings/widgets/StoredDateEdit.h"
#include "storage/Text.h"
#include "ui/widgets/DialogButtons.h"

#include <QFormLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

ProtocolDlg::ProtocolDlg(LogbookContext& context, const Protocol& protocol, QWidget* parent)
    : QDialog(parent), m_record(protocol) {
    setWindowTitle(QStringLiteral("Protocol"));
    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("1092"));
    m_text->setPlainText(m_record.getText());
    connect(m_text, &QPlainTextEdit::textChanged, this, &ProtocolDlg::keepToLimit);

    m_effective = new StoredDateEdit(m_record.getEffectiveDate(), context.clock(), this);
    m_effective->setObjectName(QStringLiteral("1091"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Effective Date:"), m_effective);

    auto* top = new QVBoxLayout(this);
    top->addWidget(m_text);
    top->addLayout(form);
    m_ok = addOkCancel(*this, *top);
}

// The edit has no length limit of its own; what goes past the column's width is cut at
// once, so the patient sees what will be kept.
void ProtocolDlg::keepToLimit() {
    const QString text = m_text->toPlainText();
    if (charCount(text) <= kTextChars)
        return;
    QTextCursor cursor = m_text->textCursor();
    const int position = cursor.position();
    const QString kept = cutToChars(text, kTextChars);
    m_text->setPlainText(kept);
    cursor = m_text->textCursor();
    cursor.setPosition(qMin(position, int(kept.size())));
    m_text->setTextCursor(cursor);
}

void ProtocolDlg::accept() {
    m_record.setText(m_text->toPlainText());
    m_record.setEffectiveDate(m_effective->storedText());
    QDialog::accept();
}
