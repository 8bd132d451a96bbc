#include "sidelogs/widgets/VitalsItemDlg.h"

#include "logbook/NoteText.h"
#include "logbook/widgets/NoteEdit.h"
#include "logbook/widgets/TimePicker.h"
#include "sidelogs/VitalsForm.h"
#include "sidelogs/widgets/SideLogFields.h"
#include "ui/widgets/DialogButtons.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

VitalsItemDlg::VitalsItemDlg(VitalsForm& form, QWidget* parent) : QDialog(parent), m_form(form) {
    setWindowTitle(QStringLiteral("Vitals"));
    m_date = SideLogFields::datePicker(form.date(), "date", this);
    m_time = new TimePicker(form.military(), this);
    m_time->setObjectName(QStringLiteral("time"));
    m_time->setTime(form.time());
    // Any text is taken as typed; the form refuses what is not a number in range.
    m_systolic = SideLogFields::textEdit(form.systolic(), 0, "systolic", this);
    m_diastolic = SideLogFields::textEdit(form.diastolic(), 0, "diastolic", this);
    m_pulse = SideLogFields::textEdit(form.pulse(), 0, "pulse", this);
    m_weight = SideLogFields::textEdit(form.weight(), VitalsForm::kWeightChars, "weight", this);
    for (QLineEdit* edit : {m_systolic, m_diastolic, m_pulse})
        SideLogFields::fitDigits(edit, 5);
    SideLogFields::fitDigits(m_weight, VitalsForm::kWeightChars + 1);
    m_notes = new QPlainTextEdit(this);
    m_notes->setObjectName(QStringLiteral("notes"));
    m_notes->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_notes->setPlainText(NoteText::forEditing(form.notes()));
    m_notes->setTabChangesFocus(true);

    // Connected only now, so that showing the stored values changes nothing.
    connect(m_date, &QDateEdit::dateChanged, this, [this](QDate date) { m_form.setDate(date); });
    connect(m_time, &QTimeEdit::timeChanged, this, [this](QTime time) { m_form.setTime(time); });
    connect(m_notes, &QPlainTextEdit::textChanged, this, [this] {
        NoteEdit::limit(m_notes, VitalsForm::kNotesChars);
        m_notesEdited = true;
    });

    auto* when = new QHBoxLayout;
    when->addWidget(m_date);
    when->addWidget(m_time);
    when->addStretch();
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Systolic"), m_systolic);
    fields->addRow(QStringLiteral("Diastolic"), m_diastolic);
    fields->addRow(QStringLiteral("Pulse"), m_pulse);
    fields->addRow(QStringLiteral("Weight:"), m_weight);
    fields->addRow(QStringLiteral("Notes:"), m_notes);
    auto* top = new QVBoxLayout(this);
    top->addLayout(when);
    top->addLayout(fields);
    m_ok = addOkCancel(*this, *top);
}

void VitalsItemDlg::accept() {
    m_form.setSystolic(m_systolic->text());
    m_form.setDiastolic(m_diastolic->text());
    m_form.setPulse(m_pulse->text());
    m_form.setWeight(m_weight->text());
    // Notes left alone are stored again exactly as they were read.
    if (m_notesEdited)
        m_form.setNotes(NoteEdit::storedText(m_notes));
    const auto field = m_form.check();
    if (!field) {
        QDialog::accept();
        return;
    }
    if (*field == VitalsForm::Field::Notes) {
        m_notes->setFocus();
        return;
    }
    QLineEdit* edits[] = {m_systolic, m_diastolic, m_pulse, m_weight};
    QLineEdit* edit = edits[static_cast<int>(*field)];
    edit->setFocus();
    edit->selectAll();
}
