#include "colors/ColorTemplate.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace colors {

Hsl RgbToHsl(RgbTriple rgb) {
    const int r = rgb.rgbtRed, g = rgb.rgbtGreen, b = rgb.rgbtBlue;
    const int hi = std::max({r, g, b}), lo = std::min({r, g, b});
    const int sum = hi + lo, delta = hi - lo;
    Hsl out;
    // Lightness (hi + lo) / 2 of 255, in per cent, rounded to nearest in whole numbers.
    out.l = (sum * 100 + 255) / 510;
    if (delta == 0) return out;
    const int denominator = sum <= 255 ? sum : 510 - sum;
    out.s = (delta * 200 + denominator) / (2 * denominator);
    double h;
    if (hi == r)
        h = static_cast<double>(g - b) / delta;
    else if (hi == g)
        h = 2.0 + static_cast<double>(b - r) / delta;
    else
        h = 4.0 + static_cast<double>(r - g) / delta;
    int degrees = static_cast<int>(std::lround(h * 60.0));
    out.h = ((degrees % 360) + 360) % 360;
    return out;
}

namespace {
std::wstring Value(const std::wstring& readout) {
    return readout.size() < 3 ? std::wstring() : readout.substr(2);
}

std::optional<int> Byte(const std::wstring& text) {
    if (text.empty() || text.size() > 3) return std::nullopt;
    int v = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') return std::nullopt;
        v = v * 10 + (c - L'0');
    }
    if (v > 255) return std::nullopt;
    return v;
}
}  // namespace

std::optional<RgbTriple> ColorOf(const Readouts& readouts) {
    auto r = Byte(Value(readouts.ColR)), g = Byte(Value(readouts.ColG)),
         b = Byte(Value(readouts.ColB));
    if (!r || !g || !b) return std::nullopt;
    return RgbTriple{static_cast<std::uint8_t>(*b), static_cast<std::uint8_t>(*g),
                     static_cast<std::uint8_t>(*r)};
}

TemplateValues ValuesOf(const Readouts& r) {
    TemplateValues v;
    v.red = Value(r.ColR);
    v.green = Value(r.ColG);
    v.blue = Value(r.ColB);
    v.hex = r.ColHex.size() > 1 && r.ColHex[0] == L'#' ? r.ColHex.substr(1) : std::wstring();
    v.cyan = Value(r.ColC);
    v.magenta = Value(r.ColM);
    v.yellow = Value(r.ColY);
    v.black = Value(r.ColK);
    if (auto rgb = ColorOf(r)) {
        Hsl hsl = RgbToHsl(*rgb);
        v.hue = std::to_wstring(hsl.h);
        v.sat = std::to_wstring(hsl.s);
        v.light = std::to_wstring(hsl.l);
    }
    // "(x,y)"; the position before the first sample, "(---,---)", names no place.
    const std::wstring& p = r.Position;
    const auto comma = p.find(L',');
    if (p.size() > 2 && p.front() == L'(' && p.back() == L')' && comma != std::wstring::npos &&
        p.find(L"--") == std::wstring::npos) {
        v.x = p.substr(1, comma - 1);
        v.y = p.substr(comma + 1, p.size() - comma - 2);
    }
    return v;
}

std::wstring ExpandTemplate(std::wstring_view text, const TemplateValues& v) {
    std::wstring lowerHex = v.hex;
    for (wchar_t& c : lowerHex)
        if (c >= L'A' && c <= L'F') c = static_cast<wchar_t>(c - L'A' + L'a');
    const std::array<std::pair<std::wstring_view, const std::wstring*>, 14> names = {{
        {L"red", &v.red},
        {L"green", &v.green},
        {L"blue", &v.blue},
        {L"HEX", &v.hex},
        {L"hex", &lowerHex},
        {L"cyan", &v.cyan},
        {L"magenta", &v.magenta},
        {L"yellow", &v.yellow},
        {L"black", &v.black},
        {L"hue", &v.hue},
        {L"sat", &v.sat},
        {L"light", &v.light},
        {L"x", &v.x},
        {L"y", &v.y},
    }};
    std::wstring out;
    std::size_t i = 0;
    while (i < text.size()) {
        const wchar_t c = text[i];
        if ((c == L'{' || c == L'}') && i + 1 < text.size() && text[i + 1] == c) {
            out += c;
            i += 2;
            continue;
        }
        if (c == L'{') {
            const auto close = text.find(L'}', i + 1);
            if (close != std::wstring_view::npos) {
                const std::wstring_view name = text.substr(i + 1, close - i - 1);
                const auto found = std::find_if(names.begin(), names.end(),
                                                [&](const auto& n) { return n.first == name; });
                if (found != names.end()) {
                    out += *found->second;
                    i = close + 1;
                    continue;
                }
            }
        }
        out += c;
        ++i;
    }
    return out;
}

std::optional<std::wstring> CopyRefusal(std::wstring_view templateText, std::wstring_view text) {
    if (templateText.empty())
        return L"The Custom format has no template: type one on the Clipboard page, for example " +
               std::wstring(DefaultTemplate) + L". The clipboard is unchanged.";
    if (text.empty())
        return L"The Custom format gives no text for this colour: its placeholders name nothing "
               L"known here. The clipboard is unchanged.";
    return std::nullopt;
}

std::wstring TemplateLimitText() {
    return L"The Custom format holds at most " + std::to_wstring(MaxTemplateLength) +
           L" characters; the text beyond them was not taken.";
}

}  // namespace colors
