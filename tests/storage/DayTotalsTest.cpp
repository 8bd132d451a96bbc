#include "logbook/DaySummary.h"
#include "support/LogbookTest.h"

#include <climits>

namespace {

struct Doses {
    const char* medication;
    const char* correction;
    int hundredths;
};
void PrintTo(const Doses& doses, std::ostream* out) {
    *out << '"' << doses.medication << "\" / \"" << doses.correction << '"';
}

// The day's insulin total counts each amount whole: its integer part and two decimals.
class DayInsulinTotal : public LogbookTest, public testing::WithParamInterface<Doses> {};

} // namespace

TEST_P(DayInsulinTotal, CountsEveryAmountUpToItsHundredths) {
    const int day = addDay("20070315");
    addEntry("20070315080000", 100, [](Sample& entry) {
        entry.setMedicationDosage(GetParam().medication);
        entry.setCorrectionDosage(GetParam().correction);
    });
    addEntry("20070315120000", 100, [](Sample& entry) { entry.setMedicationDosage("1.01H"); });
    const MedicationLookup insulinH = [](QChar code) -> std::optional<MedicationFlags> {
        if (code == u'H')
            return MedicationFlags{true, true};
        return std::nullopt;
    };
    auto record = SampleDateTable::getByPk(*db, day);
    ASSERT_TRUE(record && summarizeDay(*db, *record, true, insulinH));
    EXPECT_EQ(SampleDateTable::getByPk(*db, day)->getTtlInsulinAmt(),
              GetParam().hundredths == INT_MAX ? INT_MAX : GetParam().hundredths + 101);
}

INSTANTIATE_TEST_SUITE_P(LongAmounts, DayInsulinTotal,
                         testing::Values(Doses{"12.25H", "", 1225}, Doses{"100.5H", "", 10050},
                                         Doses{"10.25H 2.75H", "", 1300},
                                         Doses{"999.99H", "100.25H", 110024},
                                         Doses{"5.5H", "1.25H", 675}, Doses{"12.125H", "", 1212},
                                         Doses{"0.05H 7H", "12.5H", 1955},
                                         Doses{"99999999999999H", "", INT_MAX}));
