#include "colors/Contrast.h"

#include <algorithm>
#include <cmath>

namespace colors {

namespace {
double Linear(std::uint8_t channel) {
    const double c = channel / 255.0;
    // WCAG 2.x quotes 0.03928, the sRGB standard 0.04045: no 8-bit value lies between them.
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}
}  // namespace

double RelativeLuminance(RgbTriple rgb) {
    return 0.2126 * Linear(rgb.rgbtRed) + 0.7152 * Linear(rgb.rgbtGreen) +
           0.0722 * Linear(rgb.rgbtBlue);
}

double ContrastRatio(RgbTriple a, RgbTriple b) {
    const double la = RelativeLuminance(a), lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

int ContrastHundredths(double ratio) {
    // The tiny allowance keeps 21 (black on white, 21.0000000001 or 20.9999999999 in binary)
    // from showing as 20.99; the ratios of 8-bit colours lie much further apart than that.
    return static_cast<int>(std::floor(ratio * 100.0 + 1e-9));
}

std::wstring ContrastText(int hundredths) {
    const int frac = hundredths % 100;
    return std::to_wstring(hundredths / 100) + L"." + (frac < 10 ? L"0" : L"") +
           std::to_wstring(frac) + L":1";
}

ContrastVerdict Judge(int h) { return {h >= 450, h >= 700, h >= 300, h >= 450, h >= 300}; }

std::wstring VerdictText(const ContrastVerdict& v) {
    auto word = [](bool pass) { return pass ? L"pass" : L"fail"; };
    return std::wstring(L"Text: AA ") + word(v.aaNormal) + L", AAA " + word(v.aaaNormal) +
           L"\nLarge: AA " + word(v.aaLarge) + L", AAA " + word(v.aaaLarge) + L"\nNon-text: " +
           word(v.nonText);
}

}  // namespace colors
