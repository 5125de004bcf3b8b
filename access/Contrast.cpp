#include "access/Contrast.h"

#include <algorithm>
#include <cmath>

namespace a11y {

namespace {
// Black or white, whichever stands out more from `back`.
Rgb Against(Rgb back) {
    const int r = back & 0xFF, g = (back >> 8) & 0xFF, b = (back >> 16) & 0xFF;
    // Rec. 601 weights, in thousandths.
    return (299 * r + 587 * g + 114 * b) / 1000 >= 128 ? 0x000000 : 0xFFFFFF;
}

// The first of the candidates that differs from `back`, else black or white.
Rgb Unlike(Rgb back, Rgb first, Rgb second) {
    if (first != back) return first;
    if (second != back) return second;
    return Against(back);
}

// Relative luminance of an sRGB colour, 0 to 1.
double Luminance(Rgb c) {
    auto linear = [](unsigned v) {
        const double s = v / 255.0;
        return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c & 0xFF) + 0.7152 * linear((c >> 8) & 0xFF) +
           0.0722 * linear((c >> 16) & 0xFF);
}

// Whether text of colour `a` reads on `b`: the contrast ratio asked of body text (4.5 to 1).
bool Reads(Rgb a, Rgb b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05) >= 4.5;
}

constexpr Rgb LinkBlue = 0xFF0000;  // the links' own blue
}  // namespace

Look LookFor(bool highContrast, const SystemColors& s) {
    Look look;
    if (!highContrast) {
        // As drawn before High Contrast was asked about.
        look.readoutText = s.windowText;
        look.readoutBack = s.btnFace;
        look.swatchFrame = 0x000000;
        look.sizeText = 0x000000;
        look.sizeBack = 0xE1FFFF;
        look.loupeText = 0x000000;
        look.loupeBack = 0xE1FFFF;
        look.countdownText = 0xFFFFFF;
        look.countdownBack = 0x202020;
        return look;
    }
    // The readouts sit on the window's face: its own text colour is the pair made for it.
    look.readoutBack = s.btnFace;
    look.readoutText = Unlike(s.btnFace, s.btnText, s.windowText);
    // A frame is seen against the face round it.
    look.swatchFrame = Unlike(s.btnFace, s.windowText, s.btnText);
    look.magnifierFrame = look.swatchFrame;
    // The label lies on any picture: its box has a frame, and its text is unlike its box.
    look.sizeBack = s.infoBk;
    look.sizeText = Unlike(s.infoBk, s.infoText, s.windowText);
    look.sizeFrame = look.sizeText;
    // The loupe and the countdown are the pointer's companions, as a tooltip is.
    look.loupeBack = look.countdownBack = s.infoBk;
    look.loupeText = look.countdownText = look.sizeText;
    return look;
}

HintColors HintColorsFor(bool highContrast, const SystemColors& s, std::optional<Rgb> chosen) {
    HintColors c;
    if (!highContrast) {
        c.back = chosen.value_or(s.infoBk);
        c.text = s.infoText;
        c.frame = 0x000000;
        return c;
    }
    c.back = s.infoBk;
    c.text = Unlike(s.infoBk, s.infoText, s.windowText);
    c.frame = c.text;
    return c;
}

PageLook AboutLookFor(bool highContrast, const SystemColors& s, Rgb picture) {
    PageLook page;
    if (!highContrast) {
        page.back = picture;
        page.text = Reads(s.windowText, picture) ? s.windowText : Against(picture);
        page.link = Reads(LinkBlue, picture) ? LinkBlue : page.text;
        return page;
    }
    page.picture = false;
    page.back = s.btnFace;
    page.text = Unlike(s.btnFace, s.btnText, s.windowText);
    page.link = Unlike(s.btnFace, s.hotLight, page.text);
    return page;
}

}  // namespace a11y
