#include "phonomir/CsvWriter.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <sstream>

using namespace phonomir;

namespace {

TEST(CsvWriter, RowsOfTextAndNumbersInTheCConvention) {
    std::ostringstream out;
    CsvWriter csv(out);
    csv.text("Frequency [Hz]").text("SPL [dB]").endRow();
    csv.fixed(1000.0, 6).fixed(-12.3456789, 6).endRow();
    csv.shortest(31.5).shortest(1250).integer(-42).significant(0.98765432, 7).significant(1e-5, 7).endRow();
    csv.fixed(-0.0000001, 6).fixed(std::nan(""), 6).fixed(-std::numeric_limits<double>::infinity(), 2).endRow();
    EXPECT_EQ(out.str(), "Frequency [Hz],SPL [dB]\n1000.000000,-12.345679\n31.5,1250,-42,0.9876543,1e-05\n0.000000,,\n");
}

TEST(CsvWriter, TextWithSeparatorsIsQuotedAndLeadingCellStartsEveryRow) {
    std::ostringstream out;
    CsvWriter csv(out);
    csv.setLeadingCells([](TableWriter& row) { row.text("song 1.wav").integer(7); });
    csv.text("a,b").text("say \"hi\"").text("two\nlines").endRow();
    csv.endRow();
    EXPECT_EQ(out.str(), "song 1.wav,7,\"a,b\",\"say \"\"hi\"\"\",\"two\nlines\"\nsong 1.wav,7\n");
}

// The formatting must not follow the process's locale (a German one writes decimal commas).
TEST(CsvWriter, NumbersIgnoreTheProcessLocale) {
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) GTEST_SKIP() << "de_DE.UTF-8 is not available";
    EXPECT_EQ(formatFixed(5.375, 2), "5.38");
    EXPECT_EQ(formatFixed(1e300, 0).size(), 301u);
    std::setlocale(LC_NUMERIC, previous.c_str());
}

}  // namespace
