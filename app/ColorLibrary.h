#pragma once
// Colour arithmetic and the colour texts: component split, hexadecimal text, CMY and CMYK, and
// the six clipboard formats built from the readout texts.
#include <cstdint>
#include <string>

// Three bytes in the order blue, green, red, as the platform's RGB triple.
struct RgbTriple {
    std::uint8_t rgbtBlue;
    std::uint8_t rgbtGreen;
    std::uint8_t rgbtRed;
};

// Red in bits 0-7, green 8-15, blue 16-23; the top byte is ignored.
RgbTriple SplitColor(std::uint32_t colorValue);

void RgbToCmy(RgbTriple rgb, std::int32_t& c, std::int32_t& m, std::int32_t& y);
void RgbToCmyk(RgbTriple rgb, std::int32_t& c, std::int32_t& m, std::int32_t& y, std::int32_t& k);

// Six upper-case hexadecimal digits, red first.
std::wstring HexText(RgbTriple rgb);

// The texts of the readout labels; before the first sample each holds "--".
struct Readouts {
    std::wstring ColR = L"--", ColG = L"--", ColB = L"--", ColHex = L"--";
    std::wstring ColC = L"--", ColM = L"--", ColY = L"--", ColK = L"--";
    std::wstring Position = L"(---,---)";
};

// The readout texts of one sample at a screen point.
Readouts ReadoutsFor(RgbTriple rgb, int x, int y);

// The text of clipboard format `index` (0..5) built from the readouts; any other index gives "".
std::wstring FormatColorText(int index, const Readouts& readouts);
