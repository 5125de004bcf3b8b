#include "app/ColorLibrary.h"

#include <algorithm>

RgbTriple SplitColor(std::uint32_t colorValue) {
    return RgbTriple{static_cast<std::uint8_t>(colorValue >> 16),
                     static_cast<std::uint8_t>(colorValue >> 8),
                     static_cast<std::uint8_t>(colorValue)};
}

void RgbToCmy(RgbTriple rgb, std::int32_t& c, std::int32_t& m, std::int32_t& y) {
    c = 255 - rgb.rgbtRed;
    m = 255 - rgb.rgbtGreen;
    y = 255 - rgb.rgbtBlue;
}

void RgbToCmyk(RgbTriple rgb, std::int32_t& c, std::int32_t& m, std::int32_t& y, std::int32_t& k) {
    RgbToCmy(rgb, c, m, y);
    k = std::min({c, m, y});
    c -= k;
    m -= k;
    y -= k;
}

std::wstring HexText(RgbTriple rgb) {
    static constexpr wchar_t digits[] = L"0123456789ABCDEF";
    const std::uint8_t bytes[3] = {rgb.rgbtRed, rgb.rgbtGreen, rgb.rgbtBlue};
    std::wstring s;
    for (std::uint8_t b : bytes) {
        s += digits[b >> 4];
        s += digits[b & 0x0F];
    }
    return s;
}

Readouts ReadoutsFor(RgbTriple rgb, int x, int y) {
    std::int32_t c, m, ye, k;
    RgbToCmyk(rgb, c, m, ye, k);
    Readouts r;
    r.ColR = L"R:" + std::to_wstring(rgb.rgbtRed);
    r.ColG = L"G:" + std::to_wstring(rgb.rgbtGreen);
    r.ColB = L"B:" + std::to_wstring(rgb.rgbtBlue);
    r.ColHex = L"#" + HexText(rgb);
    r.ColC = L"C:" + std::to_wstring(c);
    r.ColM = L"M:" + std::to_wstring(m);
    r.ColY = L"Y:" + std::to_wstring(ye);
    r.ColK = L"K:" + std::to_wstring(k);
    r.Position = L"(" + std::to_wstring(x) + L"," + std::to_wstring(y) + L")";
    return r;
}

namespace {
// The readout without its two-character prefix; a readout shorter than three gives "".
std::wstring Value(const std::wstring& readout) {
    return readout.size() < 3 ? std::wstring() : readout.substr(2);
}

std::wstring Join(std::initializer_list<std::wstring> parts, const wchar_t* sep) {
    std::wstring s;
    bool first = true;
    for (const auto& p : parts) {
        if (!first) s += sep;
        s += p;
        first = false;
    }
    return s;
}
}  // namespace

std::wstring FormatColorText(int index, const Readouts& r) {
    switch (index) {
        case 0:
            return Join({Value(r.ColR), Value(r.ColG), Value(r.ColB)}, L" ");
        case 1:
            return Join({Value(r.ColR), Value(r.ColG), Value(r.ColB)}, L",");
        case 2:
            return r.ColHex;
        case 3:
            return r.ColHex.empty() ? std::wstring() : r.ColHex.substr(1);
        case 4:
            return Join({Value(r.ColC), Value(r.ColM), Value(r.ColY), Value(r.ColK)}, L" ");
        case 5:
            return Join({Value(r.ColC), Value(r.ColM), Value(r.ColY), Value(r.ColK)}, L",");
        default:
            return {};
    }
}
