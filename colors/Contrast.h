#pragma once
// The contrast of two colours by the WCAG 2.x formula, and how it stands against the thresholds
// of the accessibility levels.
#include <string>

#include "app/ColorLibrary.h"

namespace colors {

// sRGB relative luminance, 0 (black) to 1 (white).
double RelativeLuminance(RgbTriple rgb);
// (lighter + 0.05) / (darker + 0.05): 1 to 21, in either order of the two colours.
double ContrastRatio(RgbTriple a, RgbTriple b);

// A ratio in whole hundredths, cut rather than rounded, so a ratio just under a threshold never
// shows as meeting it: 4.497 gives 449.
int ContrastHundredths(double ratio);
// "4.49:1"
std::wstring ContrastText(int hundredths);

// Pass or fail at each level, judged on the hundredths shown.
struct ContrastVerdict {
    bool aaNormal, aaaNormal, aaLarge, aaaLarge, nonText;
};
ContrastVerdict Judge(int hundredths);
// "Text: AA pass, AAA fail", then the large-text and non-text lines, as the History page shows.
std::wstring VerdictText(const ContrastVerdict& verdict);

}  // namespace colors
