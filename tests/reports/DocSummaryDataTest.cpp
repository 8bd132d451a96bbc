#include "reports/DocSummaryFixture.h"

namespace {

// name|target|Week 1|Week 2|Week 3&4|Week 5&6|Overall, "-" for a group without readings.
std::vector<std::string> averages(const DocSummaryData& data) {
    std::vector<std::string> rows;
    for (const auto& slot : data.slotRows) {
        QString row = slot.name + "|" + slot.target;
        for (const auto& average : slot.averages)
            row += "|" + (average ? QString::number(*average) : QString("-"));
        rows.push_back(row.toStdString());
    }
    return rows;
}

// glucose@entry date, for one extremes list.
std::string extremes(const std::vector<DocSummaryData::Extreme>& list) {
    QStringList items;
    for (const auto& e : list)
        items << QString("%1@%2 %3 %4").arg(e.glucose).arg(e.date, e.time, e.slot);
    return items.join(", ").toStdString();
}

} // namespace

TEST_F(DocSummaryTest, AveragesPerSlotAndWeekGroup) {
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

    const DocSummaryData data = gather(8);
    EXPECT_EQ(averages(data), (std::vector<std::string>{
                                  "Breakfast|70 to 180|110|200|-|-|120",
                                  "Lunch|70 to 180|41|-|300|-|170",
                                  "Dinner|70 to 180|-|-|-|90|90",
                              }));
    // (100 + 41 + 121 + 200 + 300 + 90 + 60) / 7
    EXPECT_EQ(data.periodAverageText, "Average for this period: 130");
    EXPECT_EQ(data.predictedA1cText, "Predicted A1c: 6.3");
    EXPECT_EQ(extremes(data.lowest), "41@Friday, March 15 12:30 Lunch, 60@Saturday, January 27 "
                                     "07:00 Breakfast, 90@Wednesday, February 14 19:00 Dinner, "
                                     "100@Friday, March 15 07:30 Breakfast, 121@Saturday, March "
                                     "09 07:15 Breakfast");
    EXPECT_EQ(extremes(data.highest), "400@Wednesday, March 13 23:00 Unknown, 300@Saturday, "
                                      "February 24 13:00 Lunch, 200@Friday, March 08 07:00 "
                                      "Breakfast, 121@Saturday, March 09 07:15 Breakfast, "
                                      "100@Friday, March 15 07:30 Breakfast");
    EXPECT_EQ(data.periodText, "January 19, 2024 through March 15, 2024");

    // One week: only "Week 1" and "Overall" hold averages, and they agree.
    EXPECT_EQ(averages(gather(1))[0], "Breakfast|70 to 180|110|-|-|-|110");
}

TEST_F(DocSummaryTest, EqualReadingsKeepTheOrderFound) {
    const int newest = reading(0, "0900", 77, 1);
    reading(0, "1900", 77, 3);
    const int third = reading(3, "0800", 77, 1, 2, 2);
    const int fourth = reading(4, "0800", 77, 1);
    const int fifth = reading(5, "0800", 77, 1);
    reading(6, "0800", 77, 1); // a sixth does not fit
    const DocSummaryData data = gather(1);
    ASSERT_EQ(data.lowest.size(), 5u);
    std::vector<int> pks;
    for (const auto& e : data.lowest)
        pks.push_back(e.entryPk);
    EXPECT_EQ(pks, (std::vector<int>{newest, newest + 1, third, fourth, fifth}));
    EXPECT_EQ(data.highest[2].entryPk, third);
    EXPECT_EQ(data.highest[2].ketone, 2);
    EXPECT_EQ(data.highest[2].dayType, 2);
    EXPECT_EQ(data.lowest[0].range, (GlucoseRange{50, 70, 180, 250}));
}

TEST_F(DocSummaryTest, PredictedA1cInBothUnits) {
    struct Case {
        int mgDl;
        const char* text;
    };
    for (const Case& c : {Case{150, "7.0"}, {180, "8.0"}, {129, "6.3"}, {0, "2.0"}, {300, "12.0"}})
        EXPECT_EQ(QString::asprintf("%2.1f", double(DocSummaryData::predictA1c(c.mgDl))), c.text)
            << c.mgDl;

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

TEST_F(DocSummaryTest, MedicationsDaysLeft) {
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
    QStringList rows;
    for (const auto& m : gather(1).medications)
        rows << QStringList{m.name, m.openDate, m.age, m.rxNumber}.join("|");
    EXPECT_EQ(rows.join("\n"), "[A] Alpha|March 05|17|RX-A\n"
                               "[B] Beta|January 11|Expired|RX-B\n"
                               "[E] Epsilon||Expired|RX-E\n"
                               "[C] Gamma|January 12|-35|RX-C");
}

TEST_F(DocSummaryTest, A1cRowsAndChartPoints) {
    const char* results[][2] = {{"20230101", "9"},   {"20230401", "8.5"}, {"20230701", "7.25"},
                                {"20231001", "7.1"}, {"20240101", "6.9"}, {"20240201", "6."},
                                {"20220101", "12.0"}};
    for (auto [date, value] : results) {
        A1c a1c;
        a1c.setA1cDate(date);
        a1c.setA1cCount(value);
        ASSERT_TRUE(A1cTable::save(*db, a1c));
    }
    const DocSummaryData data = gather(1);
    ASSERT_EQ(data.a1cRows.size(), 6u);
    EXPECT_EQ(data.a1cRows[0].date, "February 01, 2024");
    EXPECT_EQ(data.a1cRows[5].value, "9");
    QStringList points;
    for (const auto& p : data.a1cPoints)
        points << QString("%1:%2:%3").arg(p.position).arg(p.tenths).arg(p.month);
    EXPECT_EQ(points.join(" "), "0:90:Jan 2023 1:85:Apr 2023 2:72:Jul 2023 3:71:Oct 2023 "
                                "4:69:Jan 2024 5:60:Feb 2024");
}
