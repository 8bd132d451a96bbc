#include "storage/Conversions.h"
#include "storage/Clock.h"
#include "storage/MedicationTable.h"
#include "storage/Preference.h"
#include "storage/SampleType.h"
#include "support/TestDatabase.h"

#include <QFile>
#include <climits>
#include <functional>
#include <map>

namespace {

// Conversions run in a zone with daylight saving, whatever the process had. Moments are
// written as seconds since the epoch (UTC).
class Conversions : public testing::Test {
protected:
    void SetUp() override {
        setenv("TZ", "Europe/Berlin", 1);
        tzset();
    }
};

} // namespace

// The cases of tests/data/conversions.txt, each run through the conversion it names.
TEST_F(Conversions, CasesOfTheTestDataTable) {
    const FixedClock clock(fromDateTimeText("20070715183000"));
    const auto yesNo = [](bool value) { return QString(value ? "yes" : "no"); };
    const auto word = [](const QString& text, int i) { return text.section(' ', i, i); };
    // H and G count; P is not an insulin, L an insulin left out of totals.
    const MedicationLookup meds = [](QChar code) -> std::optional<MedicationFlags> {
        if (!QString("HGPL").contains(code))
            return std::nullopt;
        return MedicationFlags{code != u'P', code != u'L'};
    };
    std::vector<std::unique_ptr<SampleType>> slotList;
    for (const char* start : {"0700", "1130", "1700"}) {
        slotList.push_back(std::make_unique<SampleType>());
        slotList.back()->setSampleTime(start);
    }
    // A lookup keeps its own copy of the list it was made from; the first H answers.
    const MedicationLookup listed = [] {
        std::vector<std::unique_ptr<Medication>> list;
        for (auto [code, insulin, totals] : {std::tuple{"H", true, true},
                                             {"M", false, true},
                                             {"L", true, false},
                                             {"H", false, false},
                                             {"", 1, 1}}) {
            list.push_back(std::make_unique<Medication>());
            list.back()->setMedCode(code);
            list.back()->setIsInsulinBol(insulin);
            list.back()->setIncludeInTotalsBol(totals);
        }
        return makeMedicationLookup(list);
    }();
    const std::map<QString, std::function<QString(const QString&)>> conversions = {
        {"slot",
         [&](auto t) {
             const SampleTypeAbs* slot = slotForTime(fromDateTimeText(t), slotList);
             return slot ? slot->getSampleTime() : QString("none");
         }},
        {"lookup",
         [&](auto t) {
             const auto flags = listed(t.isEmpty() ? QChar() : t.at(0));
             return flags ? yesNo(flags->isInsulin) + " " + yesNo(flags->includeInTotals)
                          : QString("none");
         }},
        {"delivery-choices",
         [](auto) {
             QStringList offered;
             for (const DeliveryChoice& choice : deliveryChoices())
                 offered << QString("%1=%2").arg(choice.name).arg(choice.code);
             return offered.join(' ');
         }},
        {"mmol", [](auto t) { return formatGlucose(t.toInt(), kGlucoseUnitMmol); }},
        {"mgdl", [](auto t) { return formatGlucose(t.toInt(), 7); }},
        {"valid-mgdl", [&](auto t) { return yesNo(isValidGlucoseEntry(t, kGlucoseUnitMgDl)); }},
        {"valid-mmol", [&](auto t) { return yesNo(isValidGlucoseEntry(t, kGlucoseUnitMmol)); }},
        {"parse-glucose", [](auto t) { return QString::number(parseGlucoseEntry(t)); }},
        {"split",
         [](auto t) {
             QStringList items;
             for (const DosageEntry& e : splitDosage(t, 5))
                 items << e.amount + ":" + (e.code.isNull() ? QString("-") : QString(e.code));
             return items.join(' ');
         }},
        {"valid-amount", [&](auto t) { return yesNo(isValidDosageAmount(t)); }},
        {"hundredths", [&](auto t) { return QString::number(dosageInsulinHundredths(t, meds)); }},
        {"delivery", [](auto t) { return deliveryName(t.toInt()); }},
        {"mgdl-of-tenths",
         [](auto t) {
             Preference mmol;
             mmol.setGlucoseSampleCode(kGlucoseUnitMmol);
             return QString::number(mmol.toMgDl(t.toInt()));
         }},
        {"mgdl-of-mgdl", [](auto t) { return QString::number(Preference().toMgDl(t.toInt())); }},
        {"delivery-index", [](auto t) { return QString::number(deliveryChoiceIndex(t.toInt())); }},
        {"datetime", [](auto t) { return toDateTimeText(fromDateTimeText(t)); }},
        {"epoch", [](auto t) { return QString::number(fromDateTimeText(t)); }},
        {"epoch-of-date", [](auto t) { return QString::number(fromDateText(t)); }},
        {"text-of-epoch", [](auto t) { return toDateTimeText(t.toLongLong()); }},
        {"date", [](auto t) { return toDateText(fromDateText(t)); }},
        {"pad", padDateText},
        {"12-hour", [](auto t) { return formatTimeOfDay(fromDateTimeText(t), false); }},
        {"24-hour", [](auto t) { return formatTimeOfDay(fromDateTimeText(t), true); }},
        {"date-at", [](auto t) { return formatDateAtTime("07/15/2007", t, false); }},
        {"today-at", [&](auto t) { return toDateTimeText(clockTimeToday(t, clock)); }},
        {"today-at-epoch",
         [&](auto t) {
             return QString::number(
                 clockTimeToday(word(t, 1), FixedClock(fromDateTimeText(word(t, 0)))));
         }},
        {"short-date", shortDateText},
        {"pattern",
         [&](auto t) {
             return formatTime(fromDateTimeText(word(t, 0)), t.section(' ', 1).toUtf8().data());
         }},
        {"space-lines", spaceEmptyLines},
        {"quoted-number", [](auto t) { return extractQuotedValue(t, "number").value_or("none"); }},
        {"years-months",
         [&](auto t) {
             const auto span = yearsAndMonthsBetween(word(t, 0), word(t, 1), clock);
             return QString("%1 %2").arg(span.years).arg(span.months);
         }},
        {"days-left",
         [&](auto t) {
             Medication vial;
             vial.setOpenDate(word(t, 0));
             vial.setExpireDayCnt(word(t, 1).toInt());
             return QString::number(vial.getDaysLeft(FixedClock(fromDateTimeText(word(t, 2)))));
         }},
    };
    QFile file(qEnvironmentVariable("QUILLMARCH_TEST_DATA") + "/conversions.txt");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    int cases = 0;
    for (QString line : QString::fromUtf8(file.readAll()).split('\n')) {
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const QStringList fields = line.replace("\\r\\n", "\r\n").split('|');
        ASSERT_EQ(fields.size(), 3) << line.toStdString();
        ASSERT_TRUE(conversions.contains(fields[0])) << line.toStdString();
        QString result;
        try {
            result = conversions.at(fields[0])(fields[1]);
        } catch (const std::invalid_argument&) {
            result = "invalid";
        }
        EXPECT_EQ(result, fields[2]) << line.toStdString();
        ++cases;
    }
    EXPECT_GT(cases, 100);
    EXPECT_EQ(slotForTime(0, std::vector<std::unique_ptr<SampleType>>{}), nullptr);
    EXPECT_EQ(splitDosage("1A 2B 3C 4D", 2).size(), 2u);
    EXPECT_EQ(splitDosage("1A 2B", 0).size(), 0u);
    EXPECT_EQ(entryInsulinHundredths("5.5H 2P", "1.05G", meds), 655);
    // An amount without a code counts nothing, even for a lookup that accepts any code.
    const MedicationLookup any = [](QChar) { return std::optional(MedicationFlags{true, true}); };
    EXPECT_EQ(dosageInsulinHundredths("3 4", any), 0);
    EXPECT_EQ(timePickerFormat(true) + timePickerFormat(false), "HH:mmhh:mm tt");
    EXPECT_EQ(formatTime(static_cast<std::time_t>(LLONG_MAX), "%H%M"), "");
}

TEST_F(Conversions, TheClockChangeHoursAreReadAsOneSideOrTheOther) {
    // 02:30 does not exist in spring and happens twice in autumn (00:30 or 01:30 UTC).
    const std::time_t spring = fromDateTimeText("20070325023000");
    EXPECT_TRUE(spring == 1174782600 || spring == 1174786200) << spring;
    const QString back = toDateTimeText(spring);
    EXPECT_TRUE(back == "20070325013000" || back == "20070325033000") << back.toStdString();
    const std::time_t autumn = fromDateTimeText("20071028023000");
    EXPECT_TRUE(autumn == 1193531400 || autumn == 1193535000) << autumn;
}

TEST(ConversionsFile, CopiesOverAnExistingFileOrShowsOneErrorBox) {
    QTemporaryDir dir;
    const QString source = dir.filePath("source.txt");
    const QString target = dir.filePath("target.txt");
    for (auto [path, body] : {std::pair{source, "new contents"}, std::pair{target, "old"}}) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(body) > 0);
    }
    struct Recording : Prompts {
        QStringList shown;
        PromptAnswer show(const QString& caption, const QString& text, PromptButtons buttons,
                          PromptIcon icon) override {
            shown << caption;
            EXPECT_FALSE(text.isEmpty());
            EXPECT_EQ(buttons, PromptButtons::Ok);
            EXPECT_EQ(icon, PromptIcon::Information);
            return PromptAnswer::Ok;
        }
    } prompts;
    EXPECT_TRUE(copyFileReporting(source, target, prompts));
    QFile copied(target);
    ASSERT_TRUE(copied.open(QIODevice::ReadOnly));
    EXPECT_EQ(copied.readAll(), "new contents");
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_FALSE(copyFileReporting(dir.filePath("none"), dir.filePath("copy"), prompts));
    EXPECT_EQ(prompts.shown, QStringList{"Error"});
    EXPECT_FALSE(QFile::exists(dir.filePath("copy")));
}
