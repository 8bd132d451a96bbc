#include "SettingsTest.h"
#include "settings/widgets/BasilDetailDlg.h"
#include "settings/widgets/MedicationItemDlg.h"
#include "settings/widgets/MedicationsDlg.h"
#include "settings/widgets/MetersDlg.h"
#include "settings/widgets/PrefBasil.h"
#include "settings/widgets/ProtocolsDlg.h"
#include "support/ScriptedDeleteQuestion.h"
#include "ui/ListTexts.h"
#include "ui/ModalDriver.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimeEdit>
#include <QTreeWidget>

namespace {

class ListPages : public SettingsTest {
protected:
    static std::vector<QStringList> listed(const RecordListPage& page) {
        return listedTexts(*page.list());
    }
    static void selectRow(const RecordListPage& page, int row) {
        page.list()->setCurrentItem(page.list()->topLevelItem(row));
    }
    static QStringList menuTexts(QMenu& menu) {
        QStringList texts;
        for (QAction* action : menu.actions())
            texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
        return texts;
    }
    static QAction* menuAction(QMenu& menu, const QString& text) {
        for (QAction* action : menu.actions())
            if (action->text() == text)
                return action;
        return nullptr;
    }

    ScriptedDeleteQuestion question;
};

} // namespace

TEST_F(ListPages, ActiveButtonAndMenuToggleTheSelectedMedication) {
    addMedication("Humalog", "H");
    MedicationsDlg page(*context, question);
    int changes = 0;
    QObject::connect(&page, &PropertyPage::changed, [&] { ++changes; });

    // Nothing selected: neither the button nor a menu does anything.
    page.activeButton()->click();
    EXPECT_EQ(page.contextMenu(), nullptr);
    EXPECT_EQ(rows("select ACTIVE_BOL from MEDICATION"), std::vector<std::string>{"T"});

    selectRow(page, 0);
    page.activeButton()->click();
    EXPECT_EQ(listed(page)[0][1], "");
    EXPECT_EQ(listed(page)[0][4], ""); // no days left shown for an inactive medication
    EXPECT_EQ(rows("select ACTIVE_BOL, SYNC_STATE from MEDICATION"),
              std::vector<std::string>{"F|20"});

    selectRow(page, 0);
    std::unique_ptr<QMenu> menu = page.contextMenu();
    ASSERT_TRUE(menu);
    EXPECT_EQ(menuTexts(*menu),
              (QStringList{"New", "Modify", "Remove", "-", "Active", "Include In Totals"}));
    EXPECT_FALSE(menuAction(*menu, "Active")->isChecked());
    EXPECT_TRUE(menuAction(*menu, "Include In Totals")->isChecked());
    menuAction(*menu, "Include In Totals")->trigger();
    EXPECT_EQ(listed(page)[0][2], "");
    EXPECT_EQ(rows("select ACTIVE_BOL, INCLUDE_IN_TOTALS_BOL from MEDICATION"),
              std::vector<std::string>{"F|F"});

    selectRow(page, 0);
    menu = page.contextMenu();
    menuAction(*menu, "Active")->trigger();
    EXPECT_EQ(listed(page)[0][1], "*");
    EXPECT_EQ(changes, 3);
}

TEST_F(ListPages, TheToggledRowStaysSelectedSoASecondClickUndoesTheFirst) {
    addMedication("Humalog", "H");
    MedicationsDlg page(*context, question);
    selectRow(page, 0);
    takeStatements();
    page.activeButton()->click();
    page.activeButton()->click();
    EXPECT_EQ(rows("select ACTIVE_BOL from MEDICATION"), std::vector<std::string>{"T"});
    int updates = 0;
    for (const std::string& statement : takeStatements())
        updates += statement.rfind("Update MEDICATION", 0) == 0;
    EXPECT_EQ(updates, 2);
}

TEST_F(ListPages, NewMedicationThroughTheRealDialogOffersOnlyFreeCodes) {
    addMedication("Humalog", "H");
    addMedication("Glargine", "G");
    addMedication("NPH", "N");
    MedicationsDlg page(*context, question);
    QStringList offered;
    whenModalIs<MedicationItemDlg>([&](MedicationItemDlg* dialog) {
        for (int i = 0; i < dialog->codeBox()->count(); ++i)
            offered << dialog->codeBox()->itemText(i);
        EXPECT_EQ(dialog->codeBox()->currentIndex(), -1);
        EXPECT_TRUE(dialog->insulinBox()->isChecked());
        dialog->nameEdit()->setText("Regular");
        const int r = dialog->codeBox()->findText("R");
        dialog->codeBox()->setCurrentIndex(r);
        emit dialog->codeBox()->activated(r);
        dialog->okButton()->click();
    });
    page.newButton()->click();
    EXPECT_EQ(offered.size(), 23);
    EXPECT_FALSE(offered.contains("G") || offered.contains("H") || offered.contains("N"));
    EXPECT_EQ(rows("select MED_DESC, MED_CODE, ACTIVE_BOL, INCLUDE_IN_TOTALS_BOL, "
                   "IS_INSULIN_BOL, OPEN_DATE, SYNC_STATE from MEDICATION where MED_CODE='R'"),
              std::vector<std::string>{"Regular|R|T|T|T|20260314|10"});
    QStringList names;
    for (const QStringList& row : listed(page))
        names << row[0];
    EXPECT_EQ(names, (QStringList{"Glargine", "Humalog", "NPH", "Regular"})); // by name
}

TEST_F(ListPages, ModifyingAMedicationKeepsItsOwnCodeOnOffer) {
    addMedication("Humalog", "H"); // key 1, listed second
    addMedication("Glargine", "G");
    MedicationsDlg page(*context, question);
    QString shown;
    whenModalIs<MedicationItemDlg>([&](MedicationItemDlg* dialog) {
        shown = dialog->codeBox()->currentText();
        EXPECT_EQ(dialog->codeBox()->findText("G"), -1);
        dialog->reject();
    });
    selectRow(page, 1);
    emit page.list()->itemDoubleClicked(page.list()->topLevelItem(1), 0);
    EXPECT_EQ(shown, "H");
}

TEST_F(ListPages, RemoveAsksFirstAndFollowsTheTablesRule) {
    const int known = addMedication("Humalog", "H", [](Medication& m) { m.setFk(12); });
    MedicationsDlg page(*context, question);
    selectRow(page, 0);
    question.answers.push_back({false, true});
    page.removeButton()->click();
    EXPECT_EQ(question.asked, 1);
    EXPECT_EQ(listed(page).size(), 1u);

    selectRow(page, 0);
    question.answers.push_back({true, true});
    page.removeButton()->click();
    EXPECT_TRUE(listed(page).empty());
    // The handheld knows it, so the row stays marked for it.
    EXPECT_EQ(rows("select PK, SYNC_STATE from MEDICATION"),
              std::vector<std::string>{std::to_string(known) + "|30"});
}

TEST_F(ListPages, MetersHaveTheShortMenuAndProtocolsNone) {
    addMeter("Primary Meter");
    addProtocol("20260101");
    MetersDlg meters(*context, question);
    selectRow(meters, 0);
    std::unique_ptr<QMenu> menu = meters.contextMenu();
    ASSERT_TRUE(menu);
    EXPECT_EQ(menuTexts(*menu), (QStringList{"New", "Modify", "Remove"}));

    ProtocolsDlg protocols(*context, question);
    selectRow(protocols, 0);
    EXPECT_EQ(protocols.contextMenu(), nullptr);
}

TEST_F(ListPages, ProtocolRemoveNeedsTwoProtocols) {
    addProtocol("20070101");
    ProtocolsDlg page(*context, question);
    EXPECT_EQ(listed(page), std::vector<QStringList>{{"January 01, 2007"}});
    EXPECT_FALSE(page.removeButton()->isEnabled());
    // Even when asked another way, the last protocol stays and nobody is asked.
    selectRow(page, 0);
    page.removeItem();
    EXPECT_EQ(question.asked, 0);

    QString dated;
    page.setItemEditor([&](Protocol& protocol) {
        dated = protocol.getEffectiveDate();
        protocol.setText("Two units per 15 g");
        return true;
    });
    page.newButton()->click();
    EXPECT_EQ(dated, "20260314");
    EXPECT_EQ(listed(page), (std::vector<QStringList>{{"March 14, 2026"}, {"January 01, 2007"}}));
    EXPECT_TRUE(page.removeButton()->isEnabled());

    selectRow(page, 1);
    question.answers.push_back({true, true});
    page.removeButton()->click();
    EXPECT_EQ(rows("select EFFECTIVE_DATE, TEXT from PROTOCOL"),
              std::vector<std::string>{"20260314|Two units per 15 g"});
    EXPECT_FALSE(page.removeButton()->isEnabled());
}

TEST_F(ListPages, BasalRatesThroughTheRealDialogRefuseATimeInUse) {
    changePreference([](Preference& p) { p.setMilitaryTimeBol(false); });
    context->reload();
    PrefBasil page(*context, question);

    whenModalIs<BasilDetailDlg>([](BasilDetailDlg* dialog) {
        EXPECT_EQ(dialog->timePicker()->displayFormat(), "hh:mm AP");
        dialog->timePicker()->setTime(QTime(6, 0));
        dialog->rateEdit()->setText("0.85");
        dialog->okButton()->click();
    });
    page.newButton()->click();
    EXPECT_EQ(listed(page), (std::vector<QStringList>{{"6:00 am", "0.85"}}));

    bool stayedOpen = false;
    whenModalIs<BasilDetailDlg>([&](BasilDetailDlg* dialog) {
        dialog->timePicker()->setTime(QTime(6, 0));
        dialog->rateEdit()->setText("1.234");
        prompts.expect(kProgramCaption, "Invalid Dosage");
        dialog->okButton()->click();
        dialog->rateEdit()->setText("1.2");
        prompts.expect(kProgramCaption, "This time is already used");
        dialog->okButton()->click();
        stayedOpen = dialog->isVisible();
        dialog->timePicker()->setTime(QTime(13, 30));
        dialog->okButton()->click();
    });
    page.newButton()->click();
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(listed(page), (std::vector<QStringList>{{"6:00 am", "0.85"}, {"1:30 pm", "1.2"}}));
    EXPECT_EQ(rows("select START_TIME, BASIL_MED_AMT from BASIL_RATE order by PK"),
              (std::vector<std::string>{"06:00|0.85", "13:30|1.2"}));
}

TEST_F(ListPages, CancelledItemStoresNothingAndRemovalCanGoUnasked) {
    changePreference([](Preference& p) { p.setAskDeleteBol(false); });
    context->reload();
    addRate("08:00", "1.0");
    PrefBasil page(*context, question);
    page.setItemEditor([](BasilRate& edited) {
        edited.setBasilMedAmt("9.9");
        return false;
    });
    selectRow(page, 0);
    page.modifyButton()->click();
    EXPECT_EQ(rows("select BASIL_MED_AMT from BASIL_RATE"), std::vector<std::string>{"1.0"});

    selectRow(page, 0);
    page.removeButton()->click();
    EXPECT_EQ(question.asked, 0);
    EXPECT_TRUE(listed(page).empty());
    EXPECT_TRUE(rows("select * from BASIL_RATE").empty());
}
