#include "platform/Text.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(Text, NumericFollowsTheProgramsOneRule) {
    struct Row {
        const char* text;
        bool numeric;
    } rows[] = {
        {"100", true},  {" -12 ", true}, {"+3.5", true},   {"1e3", true},  {".5", true},   {"&H1F", true},
        {"&O17", true}, {"", false},     {"  ", false},    {"ten", false}, {"1a2", false}, {"1e", false},
        {"&H", false},  {"&O9", false},  {"1.2.3", false}, {"- 1", false},
    };
    for (const Row& r : rows) EXPECT_EQ(IsNumeric(r.text), r.numeric) << r.text;
    EXPECT_EQ(*NumericValue("&H1F"), 31);
}

TEST(Text, WholeNumbersRoundHalvesToEven) {
    EXPECT_EQ(*ToInt32("2.5"), 2);
    EXPECT_EQ(*ToInt32("3.5"), 4);
    EXPECT_EQ(*ToInt32("-2.5"), -2);
    EXPECT_EQ(*ToInt32("2.51"), 3);
    EXPECT_FALSE(ToInt32("3000000000").has_value());
    EXPECT_EQ(*ToInt16("1031"), 1031);
    EXPECT_FALSE(ToInt16("40000").has_value());
    EXPECT_FALSE(ToInt16("x").has_value());
}

TEST(Text, CharactersNotBytes) {
    std::string s = "Müller-Straße";
    EXPECT_EQ(CharCount(s), 13u);
    EXPECT_EQ(LeftChars(s, 2), "Mü");
    EXPECT_EQ(MidChars(s, 7, 4), "Stra");
    EXPECT_EQ(UpperUtf8("müller"), "MÜLLER");
    EXPECT_EQ(UpperUtf8("straße"), "STRAßE");  // ß has no one-character upper case
    EXPECT_TRUE(IsValidUtf8(s));
    EXPECT_FALSE(IsValidUtf8("\xC3"));
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));
}

TEST(Text, SplittingAndReplacing) {
    EXPECT_EQ(SplitKeepEmpty("a;;b;", ';'), (std::vector<std::string>{"a", "", "b", ""}));
    EXPECT_EQ(ReplaceAll("%1$s and %1$s", "%1$s", "x%1$s"), "x%1$s and x%1$s");  // not recursive
    EXPECT_EQ(Trim("  a b  "), "a b");
    EXPECT_TRUE(EqualsIgnoringCase("HKEY_Current_User", "hkey_current_user"));
}
