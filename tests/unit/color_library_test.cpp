// Colour arithmetic and the six clipboard formats, from the readout texts.
#include <gtest/gtest.h>

#include "app/ColorLibrary.h"

namespace {
RgbTriple Rgb(int r, int g, int b) {
    return RgbTriple{static_cast<std::uint8_t>(b), static_cast<std::uint8_t>(g),
                     static_cast<std::uint8_t>(r)};
}

std::vector<std::wstring> AllFormats(const Readouts& r) {
    std::vector<std::wstring> out;
    for (int i = 0; i < 6; ++i) out.push_back(FormatColorText(i, r));
    return out;
}
}  // namespace

TEST(SplitColor, RedIsTheLowestByteAndTheTopByteIsIgnored) {
    RgbTriple t = SplitColor(0xFF563412u);
    EXPECT_EQ(t.rgbtRed, 0x12);
    EXPECT_EQ(t.rgbtGreen, 0x34);
    EXPECT_EQ(t.rgbtBlue, 0x56);
    // An invalid pixel read (all bits set) still splits into bytes.
    RgbTriple invalid = SplitColor(0xFFFFFFFFu);
    EXPECT_EQ(invalid.rgbtRed, 255);
    EXPECT_EQ(invalid.rgbtBlue, 255);
}

TEST(Cmyk, BlackIsTheSmallestInvertedComponentAndIsSubtracted) {
    struct Case {
        RgbTriple rgb;
        int c, m, y, k;
    } cases[] = {
        {Rgb(255, 255, 255), 0, 0, 0, 0},   {Rgb(0, 0, 0), 0, 0, 0, 255},
        {Rgb(128, 128, 128), 0, 0, 0, 127}, {Rgb(18, 52, 86), 68, 34, 0, 169},
        {Rgb(255, 128, 0), 0, 127, 255, 0}, {Rgb(255, 0, 0), 0, 255, 255, 0},
    };
    for (const auto& tc : cases) {
        std::int32_t c, m, y, k;
        RgbToCmyk(tc.rgb, c, m, y, k);
        EXPECT_EQ(c, tc.c);
        EXPECT_EQ(m, tc.m);
        EXPECT_EQ(y, tc.y);
        EXPECT_EQ(k, tc.k);
        EXPECT_TRUE(c == 0 || m == 0 || y == 0) << "one of C, M, Y is always 0";
    }
}

TEST(Cmy, IsTheInverseOfEachComponentBeforeTheBlackStep) {
    std::int32_t c, m, y;
    RgbToCmy(Rgb(18, 52, 86), c, m, y);
    EXPECT_EQ(c, 237);
    EXPECT_EQ(m, 203);
    EXPECT_EQ(y, 169);
}

TEST(HexText, SixUpperCaseDigitsRedFirstZeroFilled) {
    EXPECT_EQ(HexText(Rgb(255, 128, 0)), L"FF8000");
    EXPECT_EQ(HexText(Rgb(18, 52, 86)), L"123456");
    EXPECT_EQ(HexText(Rgb(171, 205, 239)), L"ABCDEF");
    EXPECT_EQ(HexText(Rgb(0, 0, 1)), L"000001");
}

TEST(Readouts, PrefixesAndSignedPositions) {
    Readouts r = ReadoutsFor(Rgb(255, 0, 0), -5, 100);
    EXPECT_EQ(r.ColR, L"R:255");
    EXPECT_EQ(r.ColG, L"G:0");
    EXPECT_EQ(r.ColHex, L"#FF0000");
    EXPECT_EQ(r.ColM, L"M:255");
    EXPECT_EQ(r.ColK, L"K:0");
    EXPECT_EQ(r.Position, L"(-5,100)");
    EXPECT_EQ(ReadoutsFor(Rgb(0, 0, 0), 0, 0).Position, L"(0,0)");
}

TEST(FormatColorText, BeforeAnySampleTheFormatsAreBuiltFromTheDashes) {
    Readouts none;  // every readout "--"
    std::vector<std::wstring> expected = {L"  ", L",,", L"--", L"-", L"   ", L",,,"};
    EXPECT_EQ(AllFormats(none), expected);
}

TEST(FormatColorText, SixFormatsOfSampledColours) {
    using V = std::vector<std::wstring>;
    EXPECT_EQ(
        AllFormats(ReadoutsFor(Rgb(255, 128, 0), 1, 1)),
        (V{L"255 128 0", L"255,128,0", L"#FF8000", L"FF8000", L"0 127 255 0", L"0,127,255,0"}));
    EXPECT_EQ(AllFormats(ReadoutsFor(Rgb(0, 0, 0), 1, 1)),
              (V{L"0 0 0", L"0,0,0", L"#000000", L"000000", L"0 0 0 255", L"0,0,0,255"}));
    EXPECT_EQ(AllFormats(ReadoutsFor(Rgb(255, 255, 255), 1, 1)),
              (V{L"255 255 255", L"255,255,255", L"#FFFFFF", L"FFFFFF", L"0 0 0 0", L"0,0,0,0"}));
    EXPECT_EQ(FormatColorText(4, ReadoutsFor(Rgb(18, 52, 86), 1, 1)), L"68 34 0 169");
}

TEST(FormatColorText, AnIndexOutsideTheSixGivesTheEmptyText) {
    Readouts r = ReadoutsFor(Rgb(1, 2, 3), 0, 0);
    EXPECT_EQ(FormatColorText(-1, r), L"");
    EXPECT_EQ(FormatColorText(6, r), L"");
}

TEST(FormatColorText, ShortOrOddReadoutsNeverReadPastTheirEnd) {
    Readouts r;
    r.ColR = L"R:";
    r.ColG = L"";
    r.ColB = L"B:7";
    r.ColHex = L"";
    EXPECT_EQ(FormatColorText(0, r), L"  7");
    EXPECT_EQ(FormatColorText(2, r), L"");
    EXPECT_EQ(FormatColorText(3, r), L"");
}
