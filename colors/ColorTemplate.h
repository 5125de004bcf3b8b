#pragma once
// A copy format of the user's own: a template whose placeholders take the values of the sampled
// colour, and the HSL form it offers beside the others.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "app/ColorLibrary.h"

namespace colors {

// Hue in whole degrees (0..359), saturation and lightness in whole per cent, each rounded to
// nearest; a grey has hue and saturation 0.
struct Hsl {
    int h = 0, s = 0, l = 0;
    friend bool operator==(const Hsl&, const Hsl&) = default;
};
Hsl RgbToHsl(RgbTriple rgb);

// The most the template edit takes by typing or pasting: the template is a line of text, and the
// settings file reads no value past 2047 characters. A longer one from the file is used whole.
inline constexpr std::size_t MaxTemplateLength = 256;
inline constexpr wchar_t DefaultTemplate[] = L"rgb({red}, {green}, {blue})";

// The values a template can name, as text; empty where nothing is known (before the first sample
// the readouts hold "--").
struct TemplateValues {
    std::wstring red, green, blue, hex, cyan, magenta, yellow, black, hue, sat, light, x, y;
};
TemplateValues ValuesOf(const Readouts& readouts);
// The colour the readouts show, when they show one.
std::optional<RgbTriple> ColorOf(const Readouts& readouts);

// {red} {green} {blue} {HEX} {hex} {cyan} {magenta} {yellow} {black} {hue} {sat} {light} {x} {y}
// take their values ({HEX} upper-case digits, {hex} lower-case); {{ and }} give one brace. Any
// other brace text, an unknown name or an unclosed brace, stays as typed.
std::wstring ExpandTemplate(std::wstring_view text, const TemplateValues& values);

// What the user is told instead of a copy of the Custom format that would empty the clipboard
// (the template is empty, or names only values not known for this colour); none when the text
// is to be copied.
std::optional<std::wstring> CopyRefusal(std::wstring_view templateText, std::wstring_view text);
// What the user is told when typing or pasting reached MaxTemplateLength and the rest was not
// taken.
std::wstring TemplateLimitText();

}  // namespace colors
