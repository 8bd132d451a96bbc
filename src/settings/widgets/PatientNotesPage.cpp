#include "settings/widgets/PatientNotesPage.h"

#include "settings/PatientSettingsContext.h"
#include "storage/Text.h"

#include <QAbstractTextDocumentLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextLayout>
#include <QVBoxLayout>

namespace {

const QString kLineBreak = QStringLiteral("\r\n");

// The edit's text line by line as it is shown, every line break written as CR LF.
QString shownLines(QPlainTextEdit* edit) {
    QStringList lines;
    QTextDocument* document = edit->document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        // A paragraph not drawn yet is laid out now, at the edit's width.
        document->documentLayout()->blockBoundingRect(block);
        const QString text = block.text();
        const QTextLayout* layout = block.layout();
        const int count = layout ? layout->lineCount() : 0;
        if (count == 0) {
            lines << text;
            continue;
        }
        for (int i = 0; i < count; ++i) {
            const QTextLine line = layout->lineAt(i);
            lines << text.mid(line.textStart(), line.textLength());
        }
    }
    return lines.join(kLineBreak);
}

} // namespace

PatientNotesPage::PatientNotesPage(PatientSettingsContext& context, const QString& notes,
                                   QWidget* parent)
    : PropertyPage(parent), m_notes(notes) {
    if (m_notes.isEmpty())
        m_notes = cutToChars(context.patientValue(QStringLiteral("PatientNotes")), kMaxSavedChars);

    auto* prompt = new QLabel(QStringLiteral("Supply any additional information you would like "
                                             "included on the Phsycian's summary report."),
                              this);
    prompt->setWordWrap(true);
    m_edit = new QPlainTextEdit(this);
    m_edit->setObjectName(QStringLiteral("1092"));
    m_edit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    QString shown = m_notes;
    shown.replace(kLineBreak, QStringLiteral("\n"));
    m_edit->setPlainText(cutToChars(shown, kMaxChars));
    connect(m_edit, &QPlainTextEdit::textChanged, this, [this] {
        keepWithinLimit();
        emit changed();
    });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addWidget(m_edit, 1);
}

void PatientNotesPage::keepWithinLimit() {
    if (m_cutting)
        return;
    const QString text = m_edit->toPlainText();
    if (charCount(text) <= kMaxChars)
        return;
    m_cutting = true;
    QTextCursor cursor = m_edit->textCursor();
    const QString kept = cutToChars(text, kMaxChars);
    const int position = std::min(cursor.position(), int(kept.size()));
    m_edit->setPlainText(kept);
    cursor = m_edit->textCursor();
    cursor.setPosition(position);
    m_edit->setTextCursor(cursor);
    m_cutting = false;
}

bool PatientNotesPage::apply() {
    m_notes = shownLines(m_edit);
    return true;
}
