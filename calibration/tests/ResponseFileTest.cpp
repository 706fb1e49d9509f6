// Response files in the dialects microphones ship with, and the files that are refused.
#include "phonomir/ResponseFile.h"

#include <gtest/gtest.h>

using phonomir::formatResponseFile;
using phonomir::parseResponseFile;
using phonomir::ResponseFile;
using phonomir::ResponsePoint;

namespace {

ResponseFile parsed(const std::string& text) {
    auto result = parseResponseFile(text);
    if (auto* refusal = std::get_if<std::string>(&result)) ADD_FAILURE() << *refusal;
    return std::holds_alternative<ResponseFile>(result) ? std::get<ResponseFile>(result) : ResponseFile{};
}

std::vector<std::pair<double, double>> pairs(const ResponseFile& file) {
    std::vector<std::pair<double, double>> result;
    for (const ResponsePoint& point : file.points) result.emplace_back(point.frequencyHz, point.levelDb);
    return result;
}

const std::vector<std::pair<double, double>> kThreePoints{{20, -1.5}, {1000, 0}, {20000, 2.25}};

}  // namespace

TEST(ResponseFileTest, ReadsEveryCommonDialect) {
    const std::vector<std::string> dialects = {
        "\"Sens Factor =-1.5dB, SERNO: 1234\"\r\nFreq(Hz)\tdB\r\n20 -1.5\r\n1000 0\r\n20000 2.25\r\n",
        "\xEF\xBB\xBF*1000Hz -36.6\n20\t-1.5\t-12.0\n1000\t0\t0\n20000\t2.25\t45\n",
        "# comma\n20,-1.5\n1000, 0\n20000 ,2.25\n",
        "; semicolons with decimal commas\n20;-1,5;0\n1000;0;0\n20000;2,25;-3,5\n",
        "Sample Rate: 48000\nFrequency Level Phase\n2.0E+01 -1.50 0\n1.0e3 +0 0\n20000.000 2.250 0\n",
        "  20    -1.5  \n\n\n1000 0\n   20000 2.25",
    };
    for (const std::string& text : dialects) EXPECT_EQ(pairs(parsed(text)), kThreePoints) << text;
}

TEST(ResponseFileTest, PicksTheSensitivityAndSampleRateOutOfHeaders) {
    const ResponseFile factor = parsed("\"Sens Factor =-1.5dB, SERNO: 1234\"\n20 0\n");
    EXPECT_EQ(factor.sensitivityDb, -1.5);
    EXPECT_FALSE(factor.sensitivityFrequencyHz.has_value());
    const ResponseFile reference = parsed("*1000Hz -36.6\n20 0\n");
    EXPECT_EQ(reference.sensitivityDb, -36.6);
    EXPECT_EQ(reference.sensitivityFrequencyHz, 1000.0);
    const ResponseFile labelled = parsed("Sensitivity: -45.2 dBV\nSample Rate: 48000 Hz\n20 0\n");
    EXPECT_EQ(labelled.sensitivityDb, -45.2);
    EXPECT_EQ(labelled.sampleRateHz, 48000.0);
    const ResponseFile none = parsed("# Sensor: ECM8000\n20 0\n");
    EXPECT_FALSE(none.sensitivityDb.has_value());
}

TEST(ResponseFileTest, ReportsUnreadableAndRepeatedLinesByNumber) {
    const ResponseFile file = parsed("20 -1.5\n30 x\n-5 1\n0 1\n1 2 3 4\n40\n1000 0\n20 9\n20000 2.25\nnan 1\n50 inf\n");
    EXPECT_EQ(pairs(file), kThreePoints);
    EXPECT_EQ(file.unreadableLines, (std::vector<int>{2, 3, 4, 5, 6, 11}));
    EXPECT_EQ(file.repeatedLines, (std::vector<int>{8}));  // the first level of 20 Hz stays
}

TEST(ResponseFileTest, SortsPointsByFrequency) {
    EXPECT_EQ(pairs(parsed("20000 2.25\n20 -1.5\n1000 0\n")), kThreePoints);
}

TEST(ResponseFileTest, RefusesFilesWithoutPointsOrNotText) {
    for (const std::string& text : {std::string(), std::string("Frequency Level\n# nothing else\n"),
                                    std::string("20 0\0\x01\x02", 7), std::string(5 * 1024 * 1024, '1')}) {
        const auto result = parseResponseFile(text);
        ASSERT_TRUE(std::holds_alternative<std::string>(result));
        EXPECT_FALSE(std::get<std::string>(result).empty());
    }
}

TEST(ResponseFileTest, ExportedTextReadsBack) {
    const std::vector<ResponsePoint> points{{20.125, -1.5}, {1000, 0}, {19999.5, 2.25}};
    const std::string text = formatResponseFile(points, -36.25, {"ECM8000 #1234", "two\nlines"});
    EXPECT_EQ(text, "* ECM8000 #1234\n* two lines\n\"Sens Factor =-36.250000dB\"\n20.125000 -1.500000\n"
                    "1000.000000 0.000000\n19999.500000 2.250000\n");
    const ResponseFile back = parsed(text);
    EXPECT_EQ(back.sensitivityDb, -36.25);
    ASSERT_EQ(back.points.size(), 3u);
    EXPECT_EQ(back.points[0].frequencyHz, 20.125);
    EXPECT_EQ(back.points[2].levelDb, 2.25);
    EXPECT_TRUE(back.unreadableLines.empty());
}
