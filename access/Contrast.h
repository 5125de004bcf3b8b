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
        infoText = 0;
};

struct Look {
    Rgb readoutText = 0, readoutBack = 0;
    Rgb swatchFrame = 0;
    std::optional<Rgb> magnifierFrame;  // none: the image reaches the view's edges
    // The capture overlay's size label, and its frame, which it has only in High Contrast.
    Rgb sizeText = 0, sizeBack = 0;
    std::optional<Rgb> sizeFrame;
    bool operator==(const Look&) const = default;
};

Look LookFor(bool highContrast, const SystemColors& system);

}  // namespace a11y
