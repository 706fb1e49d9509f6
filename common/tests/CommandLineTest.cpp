#include "phonomir/CommandLine.h"

#include <gtest/gtest.h>

using phonomir::joinArguments;
using phonomir::splitArguments;

TEST(CommandLineTest, EveryArgumentSurvivesTheRoundTrip) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"/WD=1,2"},
        {"--virtual-card", "two words", ""},
        {"quote\"inside", "back\\slash", "end\\", "\\\"", "tab\there"},
        {"ünïcode", "a b\\\"c"},
        {"two\nlines", "cr\r", std::string("nul\0inside", 10), "\\n"},
    };
    for (const auto& arguments : cases) {
        const auto split = splitArguments(joinArguments(arguments));
        ASSERT_TRUE(split.has_value()) << joinArguments(arguments);
        EXPECT_EQ(*split, arguments) << joinArguments(arguments);
    }
}

TEST(CommandLineTest, PlainArgumentsStayUnquotedAndBlanksSeparate) {
    EXPECT_EQ(joinArguments({"/WD=1", "x y", ""}), "/WD=1 \"x y\" \"\"");
    EXPECT_EQ(splitArguments("  a   b\tc "), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(splitArguments("pre\"fix ed\"post"), (std::vector<std::string>{"prefix edpost"}));
    EXPECT_EQ(splitArguments("a\\b"), (std::vector<std::string>{"a\\b"}));  // outside quotes a backslash is itself
}

TEST(CommandLineTest, MalformedTextIsRefused) {
    EXPECT_FALSE(splitArguments("\"open").has_value());
    EXPECT_FALSE(splitArguments("a\nb").has_value());
    EXPECT_TRUE(splitArguments("\"a\nb\"").has_value());
    EXPECT_EQ(joinArguments({"a\nb"}).find('\n'), std::string::npos);
}
