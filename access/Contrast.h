#pragma once
// The colours of what the program draws round the content, as the system's High Contrast
// setting asks. Off, everything looks as it always has. On, the readouts and frames take the
// system's own colours, and the swatch and the magnifiers keep their true colours inside a frame
// in the window-text colour, so they stand out from any background. No pair may be one colour:
// a theme of the user's making may give two system colours the same value, and then another
// pair of the system's is taken, or at last black or white.
#include <cstdint>
#include <optional>

namespace a11y {

// A colour as the platform stores it: red in the low byte, then green, then blue.
using Rgb = std::uint32_t;

// The system colours it draws with (GetSysColor's COLOR_WINDOW, COLOR_WINDOWTEXT, ...).
struct SystemColors {
    Rgb window = 0xFFFFFF, windowText = 0, btnFace = 0xC0C0C0, btnText = 0, infoBk = 0xE1FFFF,
        infoText = 0, hotLight = 0xCC6600;
};

struct Look {
    Rgb readoutText = 0, readoutBack = 0;
    Rgb swatchFrame = 0;
    std::optional<Rgb> magnifierFrame;  // none: the image reaches the view's edges
    // The capture overlay's size label, and its frame, which it has only in High Contrast.
    Rgb sizeText = 0, sizeBack = 0;
    std::optional<Rgb> sizeFrame;
    // The pick's loupe and the capture's countdown, which lie on any picture too.
    Rgb loupeText = 0, loupeBack = 0, countdownText = 0, countdownBack = 0;
    bool operator==(const Look&) const = default;
};

Look LookFor(bool highContrast, const SystemColors& system);

// A hint's box: the colour the program chose for it, or else the system's tooltip colour, with
// the system's tooltip text and a black outline; in High Contrast the system's tooltip colours
// whatever was chosen, outlined in the text colour.
struct HintColors {
    Rgb back = 0, text = 0, frame = 0;
    bool operator==(const HintColors&) const = default;
};
HintColors HintColorsFor(bool highContrast, const SystemColors& system, std::optional<Rgb> chosen);

// The About page: the colour behind its labels (`picture`, the picture's own where the notice
// starts, so that they seem to lie on it), their text and the links'. Off, the text is the
// window text where it reads on that colour, else black or white; in High Contrast the page
// drops the picture and takes the system's colours.
struct PageLook {
    Rgb back = 0, text = 0, link = 0;
    bool picture = true;
    bool operator==(const PageLook&) const = default;
};
PageLook AboutLookFor(bool highContrast, const SystemColors& system, Rgb picture);

}  // namespace a11y
