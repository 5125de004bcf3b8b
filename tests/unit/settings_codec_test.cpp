// The text forms of stored values: what we write, and what we accept back, hand edits included.
#include <gtest/gtest.h>

#include <limits>
#include <optional>

#include "settings/ValueCodec.h"

using settings::ParseBoolean;
using settings::ParseInteger;

TEST(SettingsCodec, IntegersInDecimalAndEveryHexPrefix) {
    EXPECT_EQ(ParseInteger(L"15"), 15);
    EXPECT_EQ(ParseInteger(L"-1"), -1);
    EXPECT_EQ(ParseInteger(L"+7"), 7);
    EXPECT_EQ(ParseInteger(L"007"), 7);
    EXPECT_EQ(ParseInteger(L"$1F"), 31);
    EXPECT_EQ(ParseInteger(L"x1f"), 31);
    EXPECT_EQ(ParseInteger(L"X1F"), 31);
    EXPECT_EQ(ParseInteger(L"0x4078"), 16504);
    EXPECT_EQ(ParseInteger(L"0X4078"), 16504);
    EXPECT_EQ(ParseInteger(L"-$10"), -16);
    EXPECT_EQ(ParseInteger(L"  \t 42 \r"), 42) << "blanks and control characters around";
    EXPECT_EQ(ParseInteger(L"0"), 0);
}

TEST(SettingsCodec, IntegerRangeEdges) {
    EXPECT_EQ(ParseInteger(L"2147483647"), 2147483647);
    EXPECT_EQ(ParseInteger(L"-2147483648"), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(ParseInteger(L"2147483648"), std::nullopt);
    EXPECT_EQ(ParseInteger(L"-2147483649"), std::nullopt);
    EXPECT_EQ(ParseInteger(L"$FFFFFFFF"), -1) << "hexadecimal names the 32 bits";
    EXPECT_EQ(ParseInteger(L"$80000000"), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(ParseInteger(L"$100000000"), std::nullopt);
    EXPECT_EQ(ParseInteger(L"99999999999999999999999999999999"), std::nullopt);
    EXPECT_EQ(ParseInteger(L"$00000000000000000001"), 1) << "leading zeros are not overflow";
}

TEST(SettingsCodec, TextThatIsNotAnInteger) {
    for (const wchar_t* bad : {L"", L"  ", L"abc", L"-", L"+", L"$", L"0x", L"x", L"1 2", L"12a",
                               L"$G", L"1.5", L"--1", L"+-1", L"0x-1", L"\u0661"})
        EXPECT_EQ(ParseInteger(bad), std::nullopt) << "'" << testing::PrintToString(bad) << "'";
}

TEST(SettingsCodec, BooleansInAnyCaseAndNothingElse) {
    EXPECT_EQ(ParseBoolean(L"True"), true);
    EXPECT_EQ(ParseBoolean(L"TRUE"), true);
    EXPECT_EQ(ParseBoolean(L"true"), true);
    EXPECT_EQ(ParseBoolean(L" fAlSe "), false);
    for (const wchar_t* other : {L"1", L"0", L"yes", L"T", L"", L"Truee", L"\"True\""})
        EXPECT_EQ(ParseBoolean(other), std::nullopt) << testing::PrintToString(other);
    EXPECT_EQ(settings::BooleanText(true), L"True");
    EXPECT_EQ(settings::BooleanText(false), L"False");
}

TEST(SettingsCodec, TrimRemovesBlanksAndControlCharactersAtTheEndsOnly) {
    EXPECT_EQ(settings::TrimText(L"\x01\t  a b\x1f \x7f"), L"a b\x1f \x7f")
        << "DEL is above the blank and stays";
    EXPECT_EQ(settings::TrimText(L" \r\n"), L"");
    EXPECT_EQ(settings::TrimText(L"a\tb"), L"a\tb");
}

TEST(SettingsCodec, ValuesInMatchingQuotesGetOneMorePair) {
    using settings::QuoteForProfile;
    EXPECT_EQ(QuoteForProfile(L"\"RGB(1,2,3)\""), L"\"\"RGB(1,2,3)\"\"");
    EXPECT_EQ(QuoteForProfile(L"'x'"), L"\"'x'\"");
    EXPECT_EQ(QuoteForProfile(L"\""), L"\"\"\"");
    EXPECT_EQ(QuoteForProfile(L"\"x'"), L"\"x'") << "quotes that do not match stay as they are";
    EXPECT_EQ(QuoteForProfile(L"a\"b\"c"), L"a\"b\"c");
    EXPECT_EQ(QuoteForProfile(L""), L"");
}

TEST(SettingsCodec, SameTextIgnoresTheCaseOfPlainLettersOnly) {
    EXPECT_TRUE(settings::SameTextNoCase(L"C:\\Tools\\A.EXE", L"c:\\tools\\a.exe"));
    EXPECT_FALSE(settings::SameTextNoCase(L"a", L"ab"));
    EXPECT_FALSE(settings::SameTextNoCase(L"[", L"{")) << "no case folding outside letters";
}
