#include "phonomir/SampleRateTable.h"

#include <gtest/gtest.h>

using namespace phonomir;

TEST(SampleRateTable, ListsSevenRatesWithThreeDecimalKilohertz) {
    EXPECT_EQ(SampleRateTable::text(0), "48.000 kHz");
    EXPECT_EQ(SampleRateTable::text(1), "44.100 kHz");
    EXPECT_EQ(SampleRateTable::text(3), "22.050 kHz");
    EXPECT_EQ(SampleRateTable::text(5), "11.025 kHz");
    EXPECT_EQ(SampleRateTable::text(6), "8.000 kHz");
    EXPECT_EQ(SampleRateTable::rate(2), 32000u);
}

TEST(SampleRateTable, DamagedIndexIsClampedIntoTheTable) {
    EXPECT_EQ(SampleRateTable::rate(-3), 48000u);
    EXPECT_EQ(SampleRateTable::rate(99), 8000u);
}
