#pragma once

#include "storage/Conversions.h"
#include "storage/Sample.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>
#include <array>
#include <ctime>
#include <optional>
#include <vector>

class LogbookContext;

// A choice of the log type list: a live slot's DESC and PK.
struct SlotChoice {
    QString name;
    int pk;
};

// A choice of a medication list: an active medication's MED_DESC and the first character
// of its MED_CODE, or "None", whose code is NUL.
struct MedicationChoice {
    QString name;
    QChar code;
};

// One dose row as the patient sees it: the medication chosen (NUL for "None"), the amount
// text and whether the amount can be typed into.
struct DoseRow {
    QChar code;
    QString amount;
    bool amountEnabled = false;
    bool operator==(const DoseRow&) const = default;
};

// Why the entry cannot be stored: the message, and for a dose the row whose amount gets the
// keyboard focus (-1 for none; SampleForm::kGlucoseFocus, kCarbsFocus for those fields).
struct SampleRefusal {
    QString text;
    int focusRow = -1;
};

// The log entry editor without its widgets: the values being edited, the defaults they
// start from, the checks made before storing and the storing itself. The dialog shows these
// values, hands every change back here and asks to check and store on OK.
//
// Times are kept as a local date and time of day. Seconds are kept too, although the pickers
// show none: a stored entry time with seconds (a meter reading) is stored again unchanged
// unless the patient changes its hour or minute, so later imports still recognise it; the
// stored insulin time likewise stays as it was unless its time or the entry's date changes.
class SampleForm {
public:
    static constexpr int kMedicationRows = 3;
    static constexpr int kCorrectionRow = 3;
    static constexpr int kRowCount = 4;
    static constexpr int kGlucoseLength = 5;
    static constexpr int kNotesLength = 255;
    // focusRow() of a refusal that belongs to the glucose or the carbohydrates field.
    static constexpr int kGlucoseFocus = -2;
    static constexpr int kCarbsFocus = -3;

    // Messages of this editor name no operation, so they carry the program's name.
    static constexpr const char* kCaption = "Quillmarch";
    static constexpr const char* kFutureText = "You can not create a log entry for the future";
    static constexpr const char* kGlucoseText = "Invalid Glucose entry";
    static constexpr const char* kDosageText = "Invalid Dosage";
    static constexpr const char* kDosesFilledText =
        "The usual doses of the new time were filled in. Please check them and press OK again.";
    // A dosage list holds 15 characters; cutting a longer one would store other doses than
    // those entered, so it is refused instead.
    static constexpr const char* kDosageTooLongText =
        "These doses do not fit in one log entry (15 characters at most). Please enter fewer "
        "doses or shorter amounts.";
    // The ketone results in the order of their codes (the program's list of ketone names).
    static constexpr const char* kKetoneNames = "N/A;Negative;Small;Medium;Large";

    // Opens the editor on a copy of the entry. A new entry (PK 0) has its SAMPLE_TIME set;
    // it may carry doses, carbohydrates and glucose already. The notes start from the
    // entry's note, or from `initialNotes` when it has none.
    SampleForm(LogbookContext& context, const Sample& entry, const QString& initialNotes = {});

    bool isNew() const { return m_entry.getPk() == 0; }
    LogbookContext& context() const { return m_context; }
    bool military() const { return m_military; }
    int glucoseUnit() const { return m_glucoseUnit; }

    const std::vector<SlotChoice>& slotChoices() const { return m_slotChoices; }
    const std::vector<MedicationChoice>& medicationChoices() const { return m_medicationChoices; }
    static QStringList ketoneNames();

    QDate date() const { return m_date; }
    QTime time() const { return m_time; }
    // An invalid date, or one before 1900, is ignored.
    void setEntryTime(QDate date, QTime time);
    // The entry time picker lost the focus: a new entry takes the slot in force then. When the
    // focus went to OK (`towardOk`, the click that leaves the time) and that changed the dose
    // rows, the click only shows them: nothing is stored that the patient has not seen.
    void entryTimeLeft(bool towardOk = false);
    void applySlotDefaults();

    int slotPk() const { return m_slotPk; }
    void setSlotPk(int pk) { m_slotPk = pk; }

    const QString& glucose() const { return m_glucose; }
    void setGlucose(const QString& text) { m_glucose = text; }
    // The glucose edit lost the focus: in millimoles a whole number gets its tenths.
    void glucoseLeft();

    // The carbohydrates as typed; an empty text is none (0 grams).
    const QString& carbs() const { return m_carbs; }
    void setCarbs(const QString& text) { m_carbs = text; }
    int ketoneCode() const { return m_ketoneCode; }
    void setKetoneCode(int code) { m_ketoneCode = code; }
    bool newSite() const { return m_newSite; }
    void setNewSite(bool newSite) { m_newSite = newSite; }
    int deliveryCode() const { return m_deliveryCode; }
    void setDeliveryCode(int code) { m_deliveryCode = code; }

    // Rows 0 to 2 are the medication rows, row 3 the correction row.
    const DoseRow& row(int index) const { return m_rows.at(index); }
    // Choosing in a row's list applies the row rule.
    void selectMedication(int index, QChar code);
    void setAmount(int index, const QString& amount) { m_rows.at(index).amount = amount; }
    QTime medicationTime() const { return m_medicationTime; }
    void setMedicationTime(QTime time);
    // The doses of the entry that the rows cannot show (a medication no longer active, or
    // more doses than rows), as dosage text; they are stored again as they were.
    QString keptMedicationDoses() const;
    QString keptCorrectionDoses() const;

    // The notes as they will be stored (NoteText: line breaks and wrap marks included).
    const QString& notes() const { return m_notes; }
    void setNotes(const QString& stored) { m_notes = stored; }
    // The checks of OK in their order; the first failure, or nothing when the entry can be
    // stored. A glucose or carbohydrate count outside its plausible range (FieldLimits) is
    // refused, never cut or rounded to another number. In millimoles a glucose typed without tenths
    // gets them first, as when its edit loses the focus, so that a "6" confirmed with Enter is
    // never read as 0.6.
    std::optional<SampleRefusal> validate();
    // OK pressed: first the doses a time change has just filled in are shown, when that
    // change came with this click; then validate(), showing a failure in a message box, its
    // row kept for the focus. True when the entry can be stored.
    bool check();
    int focusRow() const { return m_focusRow; }

    // Stores what check() accepted: the note, the day row when missing, the entry, and the
    // summaries of its day and of the day it left. Returns the stored entry's PK.
    int store();
    // The entry as stored (after store()).
    const Sample& entry() const { return m_entry; }

private:
    // A dose as written in a dosage text: its whole token is kept so that a dose the rows
    // cannot show is stored again exactly.
    using Dose = DosageToken;

    void loadChoices();
    bool isChoosable(QChar code) const;
    void fillRows(const QString& dosage, int first, int count, std::vector<Dose>* kept);
    void applyRowRule(int index);
    std::time_t entryTime() const;
    // The carbohydrates typed, when they are a count in range.
    std::optional<int> carbsCount() const;
    // The dosage text of rows [first, first + count) followed by the kept doses.
    QString composeRows(int first, int count, const std::vector<Dose>& kept) const;

    LogbookContext& m_context;
    Sample m_entry;
    QString m_openedTime;
    QDate m_openedDate;
    QTime m_openedMedicationTime;
    bool m_military = false;
    int m_glucoseUnit = 0;
    bool m_presetDoses = false;

    std::vector<SlotChoice> m_slotChoices;
    std::vector<MedicationChoice> m_medicationChoices;

    QDate m_date;
    QTime m_time;
    int m_slotPk = 0;
    QString m_glucose;
    QString m_carbs;
    int m_ketoneCode = 0;
    bool m_newSite = false;
    int m_deliveryCode = 0;
    std::array<DoseRow, kRowCount> m_rows;
    QTime m_medicationTime;
    std::vector<Dose> m_keptMedication;
    std::vector<Dose> m_keptCorrection;
    QString m_notes;
    int m_focusRow = -1;
    bool m_holdAccept = false;
};
