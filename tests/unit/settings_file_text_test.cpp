// The settings file's text: values the code page cannot hold, and the file read and edited as the
// profile functions read it, every other line kept byte for byte.
#include <gtest/gtest.h>

#include "settings/FileText.h"
#include "settings/IniText.h"
#include "settings/ValueCodec.h"
#include "tests/unit/settings_fakes.h"

using settings::FileEncoding;
using settings::IniText;

namespace {

const fakes::Latin1CodePage Latin1;

std::wstring RoundTrip(const std::wstring& value, FileEncoding encoding = FileEncoding::Ansi) {
    return settings::DecodeValue(settings::EncodeValue(value, encoding, Latin1), encoding, Latin1);
}

TEST(SettingsFileText, ValuesTheCodePageCannotHoldAloneTakeTheMarkedUtf8Form) {
    const std::wstring folder =
        L"C:\\Users\\Ann\\Pictures\\\u0421\u043d\u0438\u043c\u043a\u0438 "
        L"\u622a\u56fe";
    const std::wstring custom = L"caf\u00e9 \u2713 \u65e5\u672c \U0001F600 {HEX}";
    for (const std::wstring& v : {folder, custom, std::wstring(L"a\r\nb\0c", 7)}) {
        EXPECT_EQ(settings::EncodeValue(v, FileEncoding::Ansi, Latin1).substr(0, 3),
                  "\xEF\xBB\xBF");
        EXPECT_EQ(RoundTrip(v), v);
    }
    EXPECT_EQ(settings::EncodeValue(L"caf\u00e9 {HEX}", FileEncoding::Ansi, Latin1),
              "caf\xE9 {HEX}")
        << "what the code page holds stays as the profile functions wrote it";
    // An older file's values never turn into something else: backslashes, escapes, the marker's
    // letters with anything but well-formed UTF-8 behind them.
    for (const char* old : {"C:\\users\\u0041\\x41", "%u0041&#65;", "\xEF\xBB\xBF\xE9t\xE9",
                            "\xEF\xBB\xBF", "\xEF\xBB"}) {
        EXPECT_EQ(settings::DecodeValue(old, FileEncoding::Ansi, Latin1), Latin1.Decode(old))
            << old;
    }
    // A value that begins with the marker's letters is marked itself, so it reads back as it is.
    const std::wstring letters = L"\u00ef\u00bb\u00bfabc";
    EXPECT_EQ(RoundTrip(letters), letters);
    EXPECT_EQ(RoundTrip(L"\xFEFF"
                        L"x",
                        FileEncoding::Utf8),
              L"\xFEFF"
              L"x");
    EXPECT_EQ(RoundTrip(std::wstring(1, static_cast<wchar_t>(0xD83D)) + L"x"),
              std::wstring(1, static_cast<wchar_t>(0xD83D)) + L"x");
}

// The reader's habits are checked against the platform's own reader (tests/win32), the NUL and
// the long line end to end (tests/e2e).
TEST(SettingsIniText, EditsOnlyTheLinesItWritesAndKeepsEveryOtherByte) {
    const std::string text =
        "; notes \xE9\x80\n"
        "[TTintsnatch4]\r\n"
        "  Zoom = 15 \n"
        "Mine=kept\n"
        "\n"
        "[Other]\n"
        "zoom=not ours\n"
        "[TTINTSNATCH4]\n"
        "zoom=stale copy\n"
        "x=kept too";
    IniText ini(text, Latin1);
    EXPECT_EQ(ini.Bytes(), text) << "read and written back unchanged";
    ini.Set(L"TTintsnatch4", L"Zoom", L"15");
    EXPECT_EQ(ini.Get(L"TTintsnatch4", L"zoom"), L"15");
    ini.Set(L"TTintsnatch4", L"Zoom", L"17");
    ini.Set(L"TTintsnatch4", L"Folder", L"C:\\\u622a\u56fe");
    ini.Set(L"TTintsnatch4.History", L"Colors", L"FF8000");
    EXPECT_EQ(ini.Bytes(),
              "; notes \xE9\x80\n"
              "[TTintsnatch4]\r\n"
              "  Zoom =17\n"
              "Mine=kept\n"
              "Folder=\xEF\xBB\xBF"
              "C:\\\xE6\x88\xAA\xE5\x9B\xBE\n"
              "\n"
              "[Other]\n"
              "zoom=not ours\n"
              "[TTINTSNATCH4]\n"
              "x=kept too\n"
              "[TTintsnatch4.History]\n"
              "Colors=FF8000\n");
    EXPECT_EQ(IniText(ini.Bytes(), Latin1).Get(L"TTintsnatch4", L"Folder"), L"C:\\\u622a\u56fe");

    IniText fresh("", Latin1);
    fresh.Set(L"TTintsnatch4", L"FormVersion", L"0");
    fresh.Set(L"TTintsnatch4", L"Flags", L"0");
    EXPECT_EQ(fresh.Bytes(), "[TTintsnatch4]\r\nFormVersion=0\r\nFlags=0\r\n");

    // A file someone saved as UTF-16 stays so, and holds any text as it is.
    const std::string wide("\xFF\xFE[\0S\0]\0\r\0\n\0a\0=\0\x16\x04\r\0\n\0", 20);
    IniText unicode(wide, Latin1);
    EXPECT_EQ(unicode.Bytes(), wide);
    EXPECT_EQ(unicode.Get(L"S", L"a"), L"\u0416");
    unicode.Set(L"S", L"b", L"\u65e5");
    EXPECT_EQ(unicode.Bytes(), wide + std::string("b\0=\0\xE5\x65\r\0\n\0", 10));
}

}  // namespace
