#include "storage/SampleTable.h"
#include "support/TestDatabase.h"

class Smoke : public DatabaseTest {};

TEST_F(Smoke, SavesAndReads) {
    ASSERT_TRUE(SampleTable::createTable(*db));
    Sample s;
    s.setSampleTime("20070315083000");
    ASSERT_TRUE(SampleTable::save(*db, s));
    auto back = SampleTable::getByPk(*db, s.getPk());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->getSampleTime(), "20070315083000");
}
