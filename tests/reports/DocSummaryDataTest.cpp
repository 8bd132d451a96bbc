#include "reports/DocSummaryFixture.h"
#include "support/GoldenFile.h"

namespace {

// The period, its averages per slot and week group ("-" for none), the extremes, medications
// and A1c results, a line each.
QStringList dump(const DocSummaryData& data) {
    QStringList lines{data.periodText, data.periodAverageText, data.predictedA1cText};
    for (const auto& slot : data.slotRows) {
        QString row = "slot " + slot.name + "|" + slot.target;
        for (const auto& average : slot.averages)
            row += "|" + (average ? QString::number(*average) : QString("-"));
        lines << row;
    }
    for (const auto* list : {&data.lowest, &data.highest})
        for (const auto& e : *list)
            lines << QString::asprintf("%s %d@%s %s %s pk%d ketone%d day%d range%d/%d/%d/%d",
                                       list == &data.lowest ? "low" : "high", e.glucose,
                                       qPrintable(e.date), qPrintable(e.time), qPrintable(e.slot),
                                       e.entryPk, e.ketone, e.dayType, e.range.extLo, e.range.lo,
                                       e.range.hi, e.range.extHi);
    for (const auto& m : data.medications)
        lines << "med " + QStringList{m.name, m.openDate, m.age, m.rxNumber}.join("|");
    for (const auto& a1c : data.a1cRows)
        lines << "a1c " + a1c.date + "|" + a1c.value;
    for (const auto& p : data.a1cPoints)
        lines << QString("point %1:%2:%3").arg(p.position).arg(p.tenths).arg(p.month);
    return lines;
}

} // namespace

TEST_F(DocSummaryTest, GathersAveragesExtremesMedicationsAndA1c) {
    reading(0, "0730", 100, 1);
    reading(0, "1230", 41, 2);
    reading(6, "0715", 121, 1);  // still week 1
    reading(7, "0700", 200, 1);  // week 2
    reading(20, "1300", 300, 2); // week 3
    reading(30, "1900", 90, 3);  // week 5
    reading(48, "0700", 60, 1);  // week 7: overall only
    reading(56, "0700", 999, 1); // the day before the first day of 8 weeks
    reading(1, "0700", 0, 1);    // no reading
    reading(2, "2300", 400, 9);  // no slot of the averages, yet an extreme

    auto med = [this](const char* code, const char* name, int openedDaysAgo, int expire,
                      bool active = true) {
        addMedication(name, code, [=](Medication& m) {
            m.setOpenDate(openedDaysAgo < 0 ? QString() : daysBefore(openedDaysAgo));
            m.setExpireDayCnt(expire);
            m.setActiveBol(active);
            m.setRxOrderId(QString("RX-") + code);
        });
    };
    med("A", "Alpha", 10, 28);
    med("B", "Beta", 64, 28);  // 36 days past expiry
    med("C", "Gamma", 63, 28); // 35 days past
    med("D", "Delta", 5, 30, false);
    med("E", "Epsilon", -1, 30); // never opened
    med("Z", "Zeta", 1, 30);     // a fifth active one, after four by name

    for (auto [date, value] : {std::pair{"20230101", "9"},
                               {"20230401", "8.5"},
                               {"20230701", "7.25"},
                               {"20231001", "7.1"},
                               {"20240101", "6.9"},
                               {"20240201", "6."},
                               {"20220101", "12.0"}}) {
        A1c a1c;
        a1c.setA1cDate(date);
        a1c.setA1cCount(value);
        ASSERT_TRUE(A1cTable::save(*db, a1c));
    }
    // Over one week only "Week 1" and "Overall" hold averages, and they agree.
    expectGoldenFile(dump(gather(8)) + QStringList{"-- one week"} + dump(gather(1)),
                     "reports/doc_summary_data.txt");
}

// Equal readings keep the order found; a sixth does not fit.
TEST_F(DocSummaryTest, EqualReadingsKeepTheOrderFound) {
    reading(0, "0900", 77, 1);
    reading(0, "1900", 77, 3);
    for (int days = 3; days <= 6; ++days)
        reading(days, "0800", 77, 1, days == 3 ? 2 : 0, days == 3 ? 2 : 1);
    expectGoldenFile(dump(gather(1)), "reports/doc_summary_equal.txt");
}

TEST_F(DocSummaryTest, PredictedA1cInBothUnits) {
    for (auto [mgDl, text] :
         {std::pair{150, "7.0"}, {180, "8.0"}, {129, "6.3"}, {0, "2.0"}, {300, "12.0"}})
        EXPECT_EQ(QString::asprintf("%2.1f", double(DocSummaryData::predictA1c(mgDl))), text)
            << mgDl;

    changePreference([](Preference& p) { p.setGlucoseSampleCode(1); });
    reading(0, "0700", 70, 1);
    reading(1, "0700", 75, 1);
    const DocSummaryData data = gather(2);
    EXPECT_EQ(data.periodAverage, 72);
    EXPECT_EQ(data.periodAverageMgDl, 129); // 72 * 18 / 10, truncated
    EXPECT_EQ(data.periodAverageText, "Average for this period: 7.2");
    EXPECT_EQ(data.predictedA1cText, "Predicted A1c: 6.3");
}

TEST(DocSummaryData, LongDatesUseTheReportsMonthNames) {
    EXPECT_EQ(DocSummaryData::longDate("20240210"), "Febuary 10, 2024");
    EXPECT_EQ(DocSummaryData::longDate("20011305"), "January 5, 2001"); // no month 13
}
