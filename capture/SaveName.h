#pragma once
// The file name of the one-key save: a template with placeholders, made into a name the file
// system accepts, and the next name to try when one is taken.
#include <functional>
#include <string>

namespace savename {

inline constexpr const wchar_t* DefaultTemplate = L"Capture {date} {time}";
// {counter} has at least this many digits, so that a folder lists the files in their order
// (up to 999 of them).
inline constexpr int CounterWidth = 3;

// What the placeholders stand for: {date} 2026-12-08, {time} 13-05-09 (a file name holds no
// colon), {mode} the capture mode's word, {size} 640x480, {counter} the attempt's number, zeros
// in front up to counterWidth digits.
struct Fields {
    int Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0;
    std::wstring Mode;
    int Width = 0, Height = 0;
};

// The template with its placeholders filled in (named in any case); other text in braces stays.
std::wstring Expand(const std::wstring& pattern, const Fields& fields, int counter,
                    int counterWidth = CounterWidth);

// A name the file system accepts: characters it cannot hold (< > : " / \ | ? * and control
// characters) become "_", trailing blanks and dots go, a device name gets a "_" in front, and an
// empty name becomes "Capture". The device names are CON, PRN, AUX, NUL, and COM and LPT with
// one digit 0 to 9 or a superscript one, two or three, in any case and with any extension.
std::wstring CleanFileName(const std::wstring& name);

// The file name for the attempt-th try (from 1), with the extension (".png") at the end. A
// template with {counter} counts there from 1; one without is tried as it is, then with " (2)",
// " (3)"... before the extension. The stem is cut so that the name stays within 255 characters.
std::wstring Candidate(const std::wstring& pattern, const Fields& fields,
                       const std::wstring& extension, int attempt, int counterWidth = CounterWidth);

// Whether the attempt's number of a template with {counter} is taken already by a file saved
// before the counter had zeros in front ("shot 7.png" for "shot 007.png"), so that the count
// goes on after those; exists tells whether a name is in the folder.
bool TakenUnpadded(const std::wstring& pattern, const Fields& fields, const std::wstring& extension,
                   int attempt, const std::function<bool(const std::wstring& name)>& exists);

// The {mode} word of the capture page's mode (0 Selection, 1 Desktop, 2 Active window, 3 Object);
// empty for any other index.
std::wstring ModeWord(int modeIndex);

// The folder and the name joined by one backslash.
std::wstring Join(const std::wstring& folder, const std::wstring& name);

}  // namespace savename
