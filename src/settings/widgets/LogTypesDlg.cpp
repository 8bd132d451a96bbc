#include "settings/widgets/LogTypesDlg.h"

#include "logbook/widgets/CharLimitValidator.h"
#include "logbook/widgets/TimePicker.h"
#include "settings/PatientSettingsContext.h"
#include "settings/widgets/LogTypeMedDlg.h"
#include "storage/Conversions.h"
#include "storage/Preference.h"
#include "ui/Prompts.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimeEdit>

namespace {

constexpr int kFirstButtonId = 1024;
constexpr int kFirstNameId = 1072;
constexpr int kFirstPickerId = 1073;
constexpr int kNameLength = 15;

} // namespace

LogTypesDlg::LogTypesDlg(PatientSettingsContext& context, QWidget* parent)
    : PropertyPage(parent), m_context(context) {
    m_schedule.load(context.database());
    const bool military = context.preference().getMilitaryTimeBol();

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Name"), this), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Start Time"), this), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Medication"), this), 0, 2);
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const SlotEdit& edit = m_schedule.slot(slot);
        auto* name = new QLineEdit(edit.name, this);
        name->setObjectName(QString::number(kFirstNameId + 2 * slot));
        CharLimitValidator::install(name, kNameLength);
        auto* picker = new TimePicker(military, this);
        picker->setObjectName(QString::number(kFirstPickerId + 2 * slot));
        auto* button = new QPushButton(SlotSchedule::medicationCaption(edit.medication), this);
        button->setObjectName(QString::number(kFirstButtonId + slot));
        grid->addWidget(name, slot + 1, 0);
        grid->addWidget(picker, slot + 1, 1);
        grid->addWidget(button, slot + 1, 2);
        m_names[static_cast<size_t>(slot)] = name;
        m_pickers[static_cast<size_t>(slot)] = picker;
        m_buttons[static_cast<size_t>(slot)] = button;
        showTime(slot);

        connect(name, &QLineEdit::textChanged, this, [this, slot](const QString& text) {
            m_schedule.setName(slot, text);
            emit changed();
        });
        connect(picker, &QTimeEdit::timeChanged, this, [this] { emit changed(); });
        connect(button, &QPushButton::clicked, this, [this, slot] { editMedication(slot); });
        if (slot == 0)
            picker->setEnabled(false); // the day's first slot always starts where it is
        else
            picker->installEventFilter(this);
    }
}

void LogTypesDlg::showTime(int slot) {
    QTimeEdit* picker = timePicker(slot);
    const QSignalBlocker quiet(picker);
    picker->setTime(m_schedule.slot(slot).startTime());
}

bool LogTypesDlg::timePicked(int slot) const {
    return timePicker(slot)->time() != m_schedule.slot(slot).startTime();
}

bool LogTypesDlg::checkPickedTime(int slot) {
    // Passing through a picker is no change: the slot keeps its stored text.
    if (!timePicked(slot))
        return true;
    const QTime picked = timePicker(slot)->time();
    const std::optional<QString> refusal = m_schedule.timeRefusal(slot, picked);
    if (!refusal) {
        m_schedule.setTime(slot, picked);
        return true;
    }
    m_refusing = true;
    m_context.prompts().show(QString::fromLatin1(kProgramCaption), *refusal, PromptButtons::Ok,
                             PromptIcon::Warning);
    showTime(slot);
    timePicker(slot)->setFocus();
    m_refusing = false;
    return false;
}

bool LogTypesDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut && !m_refusing) {
        for (int slot = 1; slot < kSlotCount; ++slot)
            if (watched == timePicker(slot))
                checkPickedTime(slot);
    }
    return PropertyPage::eventFilter(watched, event);
}

bool LogTypesDlg::validate() {
    for (int slot = 1; slot < kSlotCount; ++slot)
        if (!checkPickedTime(slot))
            return false;
    return true;
}

void LogTypesDlg::store() {
    m_schedule.store(m_context.database(), m_context.prompts());
}

void LogTypesDlg::editMedication(int slot) {
    const SlotEdit& edit = m_schedule.slot(slot);
    std::optional<QString> edited;
    if (m_editor) {
        edited = m_editor(edit.name, edit.medication);
    } else {
        LogTypeMedDlg dialog(m_context, edit.name, edit.medication, this);
        if (dialog.exec() == QDialog::Accepted)
            edited = dialog.result();
    }
    if (!edited)
        return;
    m_schedule.setMedication(slot, *edited);
    medicationButton(slot)->setText(SlotSchedule::medicationCaption(*edited));
    emit changed();
}
