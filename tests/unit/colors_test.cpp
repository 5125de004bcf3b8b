// The colour values offered beside the six formats: the user's template, HSL, the contrast of two
// colours and the mean of a block.
#include <gtest/gtest.h>

#include <vector>

#include "colors/BlockAverage.h"
#include "colors/ColorTemplate.h"
#include "colors/Contrast.h"

using namespace colors;

namespace {
RgbTriple Rgb(int r, int g, int b) {
    return {static_cast<std::uint8_t>(b), static_cast<std::uint8_t>(g),
            static_cast<std::uint8_t>(r)};
}
}  // namespace

TEST(ColorTemplate, FillsEveryPlaceholderAndKeepsWhatItDoesNotKnow) {
    const TemplateValues v = ValuesOf(ReadoutsFor(Rgb(171, 205, 239), -5, 100));
    EXPECT_EQ(ExpandTemplate(L"{red},{green},{blue} #{HEX} 0x{hex} {cyan} {magenta} {yellow} "
                             L"{black} hsl({hue},{sat}%,{light}%) at {x};{y}",
                             v),
              L"171,205,239 #ABCDEF 0xabcdef 68 34 0 16 hsl(210,68%,80%) at -5;100");
    EXPECT_EQ(ExpandTemplate(L"{{red}} {Red} {nope {red", v), L"{red} {Red} {nope {red");
    // Before the first sample nothing is known: the placeholders give nothing.
    EXPECT_EQ(ExpandTemplate(L"[{red}|{hex}|{hue}|{x}]", ValuesOf(Readouts{})), L"[|||]");
    // A template from the file beyond what the edit takes is used whole, never cut inside a
    // placeholder.
    const std::wstring longTemplate = std::wstring(MaxTemplateLength - 2, L'a') + L"{red}";
    EXPECT_EQ(ExpandTemplate(longTemplate, v), std::wstring(MaxTemplateLength - 2, L'a') + L"171");
}

TEST(ColorTemplate, ACopyThatWouldEmptyTheClipboardIsRefusedWithAWord) {
    const TemplateValues none = ValuesOf(Readouts{});
    EXPECT_EQ(CopyRefusal(L"", ExpandTemplate(L"", none)),
              L"The Custom format has no template: type one on the Clipboard page, for example "
              L"rgb({red}, {green}, {blue}). The clipboard is unchanged.");
    EXPECT_NE(CopyRefusal(L"{x}{y}", ExpandTemplate(L"{x}{y}", none)), std::nullopt);
    EXPECT_EQ(CopyRefusal(L" ", L" "), std::nullopt) << "a blank is text";
    EXPECT_EQ(CopyRefusal(L"[{red}]", ExpandTemplate(L"[{red}]", none)), std::nullopt);
}

TEST(ColorTemplate, HslOfKnownColours) {
    EXPECT_EQ(RgbToHsl(Rgb(128, 128, 128)), (Hsl{0, 0, 50}));
    EXPECT_EQ(RgbToHsl(Rgb(255, 0, 128)), (Hsl{330, 100, 50}));
}

TEST(Contrast, KnownPairsAndThresholdsOnTheHundredthsShown) {
    const RgbTriple black = Rgb(0, 0, 0), white = Rgb(255, 255, 255);
    EXPECT_EQ(ContrastText(ContrastHundredths(ContrastRatio(black, white))), L"21.00:1");
    // #777777 on white is 4.478: just under AA, and it must not show as 4.48 or pass.
    const double grey = ContrastRatio(white, Rgb(0x77, 0x77, 0x77));
    EXPECT_TRUE(grey > 4.47 && grey < 4.5);
    EXPECT_EQ(ContrastText(ContrastHundredths(grey)), L"4.47:1");
    EXPECT_EQ(ContrastHundredths(4.4999), 449);
    const ContrastVerdict at449 = Judge(449), at450 = Judge(450);
    EXPECT_FALSE(at449.aaNormal);
    EXPECT_TRUE(at449.aaLarge && at449.nonText && !at449.aaaLarge);
    EXPECT_TRUE(at450.aaNormal && at450.aaaLarge && !at450.aaaNormal);
    EXPECT_TRUE(Judge(700).aaaNormal && !Judge(299).nonText);
}

TEST(BlockAverage, MeanIsExactAndTheBlockStopsAtTheDesk) {
    // A 3 x 3 pattern: reds 0..80 in steps of 10 (mean 40), green 255 and 0 alternating (mean
    // 1275 / 9 = 141.67, rounded 142), blue 1 once (1 / 9 rounds to 0).
    std::vector<std::uint32_t> pixels;
    for (int i = 0; i < 9; ++i)
        pixels.push_back(static_cast<std::uint32_t>(i * 10) << 16 |
                         static_cast<std::uint32_t>(i % 2 ? 0 : 255) << 8 | (i == 4 ? 1 : 0));
    const RgbTriple mean = MeanColor(pixels.data(), 3, 3, 3);
    EXPECT_EQ(mean.rgbtRed, 40);
    EXPECT_EQ(mean.rgbtGreen, 142);
    EXPECT_EQ(mean.rgbtBlue, 0);

    const geo::Rect desk{-1920, 0, 1024, 768};
    EXPECT_EQ(SampleBlock({100, 100}, 9, desk), (geo::Rect{96, 96, 105, 105}));
    EXPECT_EQ(SampleBlock({-1920, 0}, 5, desk), (geo::Rect{-1920, 0, -1917, 3}));
    EXPECT_EQ(SampleBlock({1023, 767}, 3, desk), (geo::Rect{1022, 766, 1024, 768}));
    EXPECT_TRUE(SampleBlock({2000, 5}, 9, desk).Empty());
}
