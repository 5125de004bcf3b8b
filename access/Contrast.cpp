#include "access/Contrast.h"

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
    return look;
}

}  // namespace a11y
