#include "phonomir/CommandLine.h"

#include <gtest/gtest.h>

using phonomir::quoteCommandLine;
using phonomir::splitCommandLine;

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
        const auto split = splitCommandLine(quoteCommandLine(arguments));
        ASSERT_TRUE(split.has_value()) << quoteCommandLine(arguments);
        EXPECT_EQ(*split, arguments) << quoteCommandLine(arguments);
    }
}

TEST(CommandLineTest, PlainArgumentsStayUnquotedAndBlanksSeparate) {
    EXPECT_EQ(quoteCommandLine({"/WD=1", "x y", ""}), "/WD=1 \"x y\" \"\"");
    EXPECT_EQ(splitCommandLine("  a   b\tc "), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(splitCommandLine("pre\"fix ed\"post"), (std::vector<std::string>{"prefix edpost"}));
    EXPECT_EQ(splitCommandLine("a\\b"), (std::vector<std::string>{"a\\b"}));  // outside quotes a backslash is itself
}

TEST(CommandLineTest, MalformedTextIsRefused) {
    EXPECT_FALSE(splitCommandLine("\"open").has_value());
    EXPECT_FALSE(splitCommandLine("a\nb").has_value());
    EXPECT_TRUE(splitCommandLine("\"a\nb\"").has_value());
    EXPECT_EQ(quoteCommandLine({"a\nb"}).find('\n'), std::string::npos);
}
