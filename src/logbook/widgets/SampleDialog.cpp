#include "logbook/widgets/SampleDialog.h"

#include "logbook/LogbookContext.h"
#include "logbook/NoteText.h"
#include "logbook/widgets/NoteEdit.h"
#include "logbook/widgets/TimePicker.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace {

QChar codeOf(const QComboBox* list) {
    if (list->currentIndex() < 0)
        return QChar();
    return QChar(static_cast<char16_t>(list->currentData().toInt()));
}

QLabel* labelFor(const QString& text, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

} // namespace

SampleDialog::SampleDialog(LogbookContext& context, const Sample& entry,
                           const QString& initialNotes, QWidget* parent)
    : QDialog(parent), m_form(context, entry, initialNotes) {
    setWindowTitle(QStringLiteral("Log Entry"));
    setModal(true);
    build();
    showValues();
    connectFields();
}

void SampleDialog::build() {
    m_date = new QDateEdit(this);
    m_date->setCalendarPopup(true);
    m_date->setMinimumDate(QDate(1900, 1, 1));
    m_time = new TimePicker(m_form.military(), this);
    m_slot = new QComboBox(this);
    for (const SlotChoice& slot : m_form.slotChoices())
        m_slot->addItem(slot.name, slot.pk);
    m_glucose = new QLineEdit(this);
    m_glucose->setMaxLength(SampleForm::kGlucoseLength);
    // Any text is taken as typed; the form refuses what is not a count in range.
    m_carbs = new QLineEdit(this);
    m_ketones = new QComboBox(this);
    m_ketones->addItems(SampleForm::ketoneNames());
    m_newSite = new QCheckBox(QStringLiteral("New Site"), this);

    auto* top = new QGridLayout;
    top->addWidget(labelFor(QStringLiteral("Date:"), m_date, this), 0, 0);
    top->addWidget(m_date, 0, 1);
    top->addWidget(labelFor(QStringLiteral("Time:"), m_time, this), 0, 2);
    top->addWidget(m_time, 0, 3);
    top->addWidget(labelFor(QStringLiteral("Log Type"), m_slot, this), 1, 0);
    top->addWidget(m_slot, 1, 1);
    top->addWidget(labelFor(QStringLiteral("Glucose:"), m_glucose, this), 1, 2);
    top->addWidget(m_glucose, 1, 3);
    top->addWidget(labelFor(QStringLiteral("Carbohydrates:"), m_carbs, this), 2, 0);
    top->addWidget(m_carbs, 2, 1);
    top->addWidget(labelFor(QStringLiteral("Ketones:"), m_ketones, this), 2, 2);
    top->addWidget(m_ketones, 2, 3);
    top->addWidget(m_newSite, 3, 0, 1, 2);

    for (int row = 0; row < SampleForm::kRowCount; ++row) {
        m_medication.at(row) = new QComboBox(this);
        for (const MedicationChoice& choice : m_form.medicationChoices())
            m_medication.at(row)->addItem(choice.name, int(choice.code.unicode()));
        m_amount.at(row) = new QLineEdit(this);
    }
    auto* medicationBox = new QGroupBox(QStringLiteral("Medication"), this);
    auto* medicationGrid = new QGridLayout(medicationBox);
    medicationGrid->addWidget(new QLabel(QStringLiteral("Type"), medicationBox), 0, 0);
    medicationGrid->addWidget(new QLabel(QStringLiteral("Amount:"), medicationBox), 0, 1);
    for (int row = 0; row < SampleForm::kMedicationRows; ++row) {
        medicationGrid->addWidget(m_medication.at(row), row + 1, 0);
        medicationGrid->addWidget(m_amount.at(row), row + 1, 1);
    }
    m_medicationTime = new TimePicker(m_form.military(), medicationBox);
    medicationGrid->addWidget(labelFor(QStringLiteral("Time:"), m_medicationTime, medicationBox), 4,
                              0);
    medicationGrid->addWidget(m_medicationTime, 4, 1);
    m_keptMedication = new QLabel(medicationBox);
    medicationGrid->addWidget(m_keptMedication, 5, 0, 1, 2);

    auto* correctionBox = new QGroupBox(QStringLiteral("Correction"), this);
    auto* correctionGrid = new QGridLayout(correctionBox);
    correctionGrid->addWidget(m_medication.at(SampleForm::kCorrectionRow), 0, 0);
    correctionGrid->addWidget(
        labelFor(QStringLiteral("Amount:"), m_amount.at(SampleForm::kCorrectionRow), correctionBox),
        0, 1);
    correctionGrid->addWidget(m_amount.at(SampleForm::kCorrectionRow), 0, 2);
    m_keptCorrection = new QLabel(correctionBox);
    correctionGrid->addWidget(m_keptCorrection, 1, 0, 1, 3);

    m_delivery = new QComboBox(this);
    for (const DeliveryChoice& choice : deliveryChoices())
        m_delivery->addItem(choice.name, choice.code);
    auto* deliveryRow = new QHBoxLayout;
    deliveryRow->addWidget(labelFor(QStringLiteral("Delivery:"), m_delivery, this));
    deliveryRow->addWidget(m_delivery);
    deliveryRow->addStretch();

    m_notes = new QPlainTextEdit(this);
    m_notes->setTabChangesFocus(true);

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setDefault(true);
    m_okAndAdd = new QPushButton(QStringLiteral("OK and Add Another"), this);
    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_okAndAdd);
    buttons->addWidget(m_cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(medicationBox);
    layout->addWidget(correctionBox);
    layout->addLayout(deliveryRow);
    layout->addWidget(labelFor(QStringLiteral("Notes"), m_notes, this));
    layout->addWidget(m_notes);
    layout->addLayout(buttons);

    m_time->installEventFilter(this);
    m_glucose->installEventFilter(this);
}

void SampleDialog::connectFields() {
    auto entryTimeChanged = [this] {
        if (!m_showing)
            m_form.setEntryTime(m_date->date(), m_time->time());
    };
    connect(m_date, &QDateEdit::dateChanged, this, entryTimeChanged);
    connect(m_time, &QTimeEdit::timeChanged, this, entryTimeChanged);
    connect(m_slot, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!m_showing && index >= 0)
            m_form.setSlotPk(m_slot->itemData(index).toInt());
    });
    connect(m_glucose, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!m_showing)
            m_form.setGlucose(text);
    });
    connect(m_carbs, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!m_showing)
            m_form.setCarbs(text);
    });
    connect(m_ketones, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!m_showing && index >= 0)
            m_form.setKetoneCode(index);
    });
    connect(m_newSite, &QCheckBox::toggled, this, [this](bool checked) {
        if (!m_showing)
            m_form.setNewSite(checked);
    });
    for (int row = 0; row < SampleForm::kRowCount; ++row) {
        connect(m_medication.at(row), &QComboBox::currentIndexChanged, this, [this, row] {
            if (m_showing)
                return;
            m_form.selectMedication(row, codeOf(m_medication.at(row)));
            showRows();
        });
        connect(m_amount.at(row), &QLineEdit::textChanged, this, [this, row](const QString& text) {
            if (!m_showing)
                m_form.setAmount(row, text);
        });
    }
    connect(m_medicationTime, &QTimeEdit::timeChanged, this, [this](QTime time) {
        if (!m_showing)
            m_form.setMedicationTime(time);
    });
    connect(m_delivery, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!m_showing && index >= 0)
            m_form.setDeliveryCode(m_delivery->itemData(index).toInt());
    });
    connect(m_notes, &QPlainTextEdit::textChanged, this, &SampleDialog::onNotesChanged);
    connect(m_ok, &QPushButton::clicked, this, [this] { finish(false); });
    connect(m_okAndAdd, &QPushButton::clicked, this, [this] { finish(true); });
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void SampleDialog::showValues() {
    m_showing = true;
    m_date->setDate(m_form.date());
    m_time->setTime(m_form.time());
    m_carbs->setText(m_form.carbs());
    // A code without a name (or a delivery code without a choice) shows no selection and is
    // stored again unchanged unless the patient picks another.
    m_ketones->setCurrentIndex(m_form.ketoneCode() < m_ketones->count() ? m_form.ketoneCode() : -1);
    m_newSite->setChecked(m_form.newSite());
    m_delivery->setCurrentIndex(m_delivery->findData(m_form.deliveryCode()));
    m_notes->setPlainText(NoteText::forEditing(m_form.notes()));
    m_showing = false;
    showSlot();
    showGlucose();
    showRows();
}

void SampleDialog::showSlot() {
    m_showing = true;
    m_slot->setCurrentIndex(m_slot->findData(m_form.slotPk()));
    m_showing = false;
}

void SampleDialog::showGlucose() {
    m_showing = true;
    m_glucose->setText(m_form.glucose());
    m_showing = false;
}

void SampleDialog::showRows() {
    m_showing = true;
    for (int row = 0; row < SampleForm::kRowCount; ++row) {
        const DoseRow& dose = m_form.row(row);
        m_medication.at(row)->setCurrentIndex(
            m_medication.at(row)->findData(int(dose.code.unicode())));
        m_amount.at(row)->setText(dose.amount);
        m_amount.at(row)->setEnabled(dose.amountEnabled);
    }
    m_medicationTime->setTime(m_form.medicationTime());
    const QString keptMedication = m_form.keptMedicationDoses();
    m_keptMedication->setText(QStringLiteral("Other doses kept: %1").arg(keptMedication));
    m_keptMedication->setVisible(!keptMedication.isEmpty());
    const QString keptCorrection = m_form.keptCorrectionDoses();
    m_keptCorrection->setText(QStringLiteral("Other doses kept: %1").arg(keptCorrection));
    m_keptCorrection->setVisible(!keptCorrection.isEmpty());
    m_showing = false;
}

bool SampleDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        if (watched == m_time) {
            // Leaving the time by clicking OK: the form holds that click back when it filled
            // in other doses.
            QWidget* next = QApplication::focusWidget();
            m_form.entryTimeLeft(next == m_ok || next == m_okAndAdd);
            showSlot();
            showRows();
        } else if (watched == m_glucose) {
            m_form.glucoseLeft();
            showGlucose();
        }
    }
    return QDialog::eventFilter(watched, event);
}

void SampleDialog::onNotesChanged() {
    if (m_showing)
        return;
    NoteEdit::limit(m_notes, SampleForm::kNotesLength);
    m_notesEdited = true;
}

void SampleDialog::finish(bool addAnother) {
    // Notes left alone are stored again exactly as they were read.
    if (m_notesEdited)
        m_form.setNotes(NoteEdit::storedText(m_notes));
    const bool accepted = m_form.check();
    showGlucose();
    if (!accepted) {
        if (m_form.focusRow() >= 0)
            m_amount.at(m_form.focusRow())->setFocus();
        else if (m_form.focusRow() == SampleForm::kGlucoseFocus)
            m_glucose->setFocus();
        else if (m_form.focusRow() == SampleForm::kCarbsFocus)
            m_carbs->setFocus();
        return;
    }
    m_form.store();
    m_addAnother = addAnother;
    accept();
}

int editEntry(LogbookContext& context, Sample& entry, QWidget* parent,
              const QString& initialNotes) {
    bool addAnother = false;
    {
        SampleDialog dialog(context, entry, initialNotes, parent);
        if (dialog.exec() != QDialog::Accepted)
            return 0;
        entry = dialog.form().entry();
        addAnother = dialog.addAnother();
    }
    const int pk = entry.getPk();
    if (addAnother) {
        if (int next = newEntryAt(context, fromDateTimeText(entry.getSampleTime()), parent))
            return next;
    }
    return pk;
}

int newEntryAt(LogbookContext& context, std::time_t when, QWidget* parent) {
    Sample entry;
    entry.setSampleTime(toDateTimeText(when));
    return editEntry(context, entry, parent);
}
