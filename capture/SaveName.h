#pragma once
// The file name of the one-key save: a template with placeholders, made into a name the file
// system accepts, and the next name to try when one is taken.
#include <string>

namespace savename {

inline constexpr const wchar_t* DefaultTemplate = L"Capture {date} {time}";

// What the placeholders stand for: {date} 2026-12-08, {time} 13-05-09 (a file name holds no
// colon), {mode} the capture mode's word, {size} 640x480, {counter} the attempt's number.
struct Fields {
    int Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0;
    std::wstring Mode;
    int Width = 0, Height = 0;
};

// The template with its placeholders filled in (named in any case); other text in braces stays.
std::wstring Expand(const std::wstring& pattern, const Fields& fields, int counter);

// A name the file system accepts: characters it cannot hold (< > : " / \ | ? * and control
// characters) become "_", trailing blanks and dots go, a device name (CON, COM1...) gets a "_"
// in front, and an empty name becomes "Capture".
std::wstring CleanFileName(const std::wstring& name);

// The file name for the attempt-th try (from 1), with the extension (".png") at the end. A
// template with {counter} counts there from 1; one without is tried as it is, then with " (2)",
// " (3)"... before the extension. The stem is cut so that the name stays within 255 characters.
std::wstring Candidate(const std::wstring& pattern, const Fields& fields,
                       const std::wstring& extension, int attempt);

// The {mode} word of the capture page's mode (0 Selection, 1 Desktop, 2 Active window, 3 Object);
// empty for any other index.
std::wstring ModeWord(int modeIndex);

// The folder and the name joined by one backslash.
std::wstring Join(const std::wstring& folder, const std::wstring& name);

}  // namespace savename
