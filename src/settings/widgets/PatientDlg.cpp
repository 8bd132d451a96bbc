#include "settings/widgets/PatientDlg.h"

#include "settings/PatientSettingsContext.h"
#include "settings/widgets/LimitedEdit.h"
#include "settings/widgets/StoredDateEdit.h"
#include "storage/Clock.h"
#include "storage/Conversions.h"
#include "storage/Preference.h"
#include "storage/PreferenceTable.h"
#include "ui/Prompts.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

PatientDlg::PatientDlg(PatientSettingsContext& context, QWidget* parent)
    : PropertyPage(parent), m_context(context) {
    // The row itself, not the application's copy: this page shows what is stored.
    if (auto stored = PreferenceTable::getByPk(context.database(), PreferenceTable::kPk)) {
        m_fields.patientName = stored->getPatientName();
        m_fields.doctorName = stored->getDoctorName();
        m_fields.doctorPhone = stored->getDoctorPhone();
        m_fields.doctorFax = stored->getDoctorFax();
        m_fields.birthDate = stored->getBirthDate();
        m_fields.dxDate = stored->getDxDate();
    }

    // The same limit as when the patient was created. A longer stored name is still shown
    // whole (the edit only lets it shrink), or pressing OK would rename the patient to a cut
    // name.
    m_name = limitedEdit(m_fields.patientName, Preference::kPatientNameWidth, "1045", this);
    m_birth = dateEdit("1046", m_fields.birthDate);
    m_dx = dateEdit("1047", m_fields.dxDate);
    m_doctor = limitedEdit(m_fields.doctorName, 35, "1048", this);
    m_phone = limitedEdit(m_fields.doctorPhone, 15, "1049", this);
    m_fax = limitedEdit(m_fields.doctorFax, 15, "1050", this);
    for (QLineEdit* edit : {m_name, m_doctor, m_phone, m_fax})
        connect(edit, &QLineEdit::textEdited, this, &PropertyPage::changed);

    m_database = new QLabel(context.database().path(), this);
    m_database->setObjectName(QStringLiteral("1117"));
    m_database->setWordWrap(true);
    m_database->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Patient Name:"), m_name);
    form->addRow(QStringLiteral("Birth Date:"), m_birth);
    form->addRow(QStringLiteral("Dx Date:"), m_dx);
    form->addRow(QStringLiteral("Physician Name:"), m_doctor);
    form->addRow(QStringLiteral("Phone:"), m_phone);
    form->addRow(QStringLiteral("Fax:"), m_fax);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch();
    layout->addWidget(m_database);
}

StoredDateEdit* PatientDlg::dateEdit(const char* id, const QString& stored) {
    auto* edit = new StoredDateEdit(stored, m_context.clock(), this);
    edit->setObjectName(QString::fromLatin1(id));
    connect(edit, &StoredDateEdit::picked, this, &PropertyPage::changed);
    return edit;
}

bool PatientDlg::validate() {
    const QString refusal = patientNameRefusal(
        m_name->text(), [this](const QString& name) { return m_context.otherPatientNamed(name); });
    if (!refusal.isEmpty()) {
        m_context.prompts().show(QString::fromLatin1(kProgramCaption), refusal, PromptButtons::Ok,
                                 PromptIcon::Warning);
        m_name->setFocus();
        m_name->selectAll();
        return false;
    }
    const std::optional<QDate> today = dateOfText(toDateText(m_context.clock().now()));
    const auto dates = patientDatesRefusal(m_birth->storedText(), m_dx->storedText(),
                                           today.value_or(QDate::currentDate()));
    if (!dates)
        return true;
    m_context.prompts().show(QString::fromLatin1(kProgramCaption), dates->text, PromptButtons::Ok,
                             PromptIcon::Warning);
    (dates->onBirthDate ? m_birth : m_dx)->setFocus();
    return false;
}

bool PatientDlg::apply() {
    m_fields.patientName = m_name->text();
    m_fields.doctorName = m_doctor->text();
    m_fields.doctorPhone = m_phone->text();
    m_fields.doctorFax = m_fax->text();
    m_fields.birthDate = m_birth->storedText();
    m_fields.dxDate = m_dx->storedText();
    return true;
}
