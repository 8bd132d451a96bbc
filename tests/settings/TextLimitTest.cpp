#include "SettingsTest.h"
#include "settings/widgets/LogTypesDlg.h"
#include "settings/widgets/MedicationsDlg.h"
#include "settings/widgets/MetersDlg.h"
#include "settings/widgets/PatientDlg.h"
#include "settings/widgets/PreferenceDlg.h"
#include "settings/widgets/ProtocolsDlg.h"
#include "support/ScriptedDeleteQuestion.h"
#include "ui/ModalDriver.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

enum class Place { Patient, Slot, Meter, Medication, Protocol };

// A text field of a dialog, its limit in characters and where its text is stored.
struct Limit {
    Place place;
    const char* field;
    int chars;
    const char* stored;
};

const Limit kLimits[] = {
    {Place::Patient, "1045", 35, "select PATIENT_NAME from PREFERENCE"},
    {Place::Patient, "1048", 35, "select DOCTOR_NAME from PREFERENCE"},
    {Place::Patient, "1049", 15, "select DOCTOR_PHONE from PREFERENCE"},
    {Place::Patient, "1050", 15, "select DOCTOR_FAX from PREFERENCE"},
    {Place::Slot, "1072", 15, "select DESC from SAMPLE_TYPE where pk=1"},
    {Place::Meter, "1053", 25, "select DESC from METER order by pk desc"},
    {Place::Meter, "1054", 25, "select MODEL from METER order by pk desc"},
    {Place::Meter, "1055", 25, "select MFG from METER order by pk desc"},
    {Place::Meter, "1056", 11, "select SERIAL_NO from METER order by pk desc"},
    {Place::Medication, "1063", 25, "select MED_DESC from MEDICATION order by pk desc"},
    {Place::Medication, "1064", 10, "select RX_ORDER_ID from MEDICATION order by pk desc"},
    {Place::Protocol, "1092", 256, "select TEXT from PROTOCOL order by pk desc"},
};

class TextLimitTest : public SettingsTest {
protected:
    // Pastes `text` over the whole field, as the patient would, and stores the dialog.
    std::string pasteAndStore(const Limit& limit, const QString& text) {
        auto paste = [&](QWidget* dialog) {
            if (auto* line = dialog->findChild<QLineEdit*>(limit.field)) {
                line->selectAll();
                line->insert(text);
            } else {
                dialog->findChild<QPlainTextEdit*>(limit.field)->insertPlainText(text);
            }
        };
        switch (limit.place) {
        case Place::Patient: {
            PreferenceDlg sheet(*context, question);
            paste(sheet.patientPage());
            EXPECT_TRUE(sheet.applyAll());
            break;
        }
        case Place::Slot: {
            LogTypesDlg page(*context);
            paste(&page);
            page.store();
            break;
        }
        case Place::Meter:
            addThrough<MetersDlg, MeterDlg>(paste);
            break;
        case Place::Medication:
            addThrough<MedicationsDlg, MedicationItemDlg>([&](MedicationItemDlg* dialog) {
                dialog->codeBox()->setCurrentIndex(0);
                emit dialog->codeBox()->activated(0);
                paste(dialog);
            });
            break;
        case Place::Protocol:
            addThrough<ProtocolsDlg, ProtocolDlg>(paste);
            break;
        }
        return rows(limit.stored).at(0);
    }
    template <class Page, class Dialog, class Fill> void addThrough(Fill fill) {
        Page page(*context, question);
        whenModalIs<Dialog>([&](Dialog* dialog) {
            fill(dialog);
            dialog->okButton()->click();
            if (dialog->isVisible())
                dialog->reject();
        });
        page.newButton()->click();
    }

    ScriptedDeleteQuestion question;
};

} // namespace

TEST_F(TextLimitTest, EveryFieldKeepsWholeCharactersAtItsLimit) {
    addUsualSlots();
    addProtocol("20070101");
    const QString emoji = QString::fromUtf8("\U0001F600"); // two UTF-16 units, one character
    const QString accented = QString::fromUtf8("e\u0301"); // two characters, one as seen
    for (const Limit& limit : kLimits) {
        const QString filled(limit.chars - 1, u'a');
        // The last place takes one emoji whole; a letter whose mark does not fit is left out.
        EXPECT_EQ(pasteAndStore(limit, filled + emoji + emoji), (filled + emoji).toStdString())
            << limit.field;
        EXPECT_EQ(pasteAndStore(limit, filled + accented), filled.toStdString()) << limit.field;
    }
}
