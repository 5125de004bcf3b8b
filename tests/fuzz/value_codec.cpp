// The settings value codec on any text: a number or a boolean that is read is one that could have
// been written, numbers and quoted texts read back as written, and names ignore letter case.
#include <cstdint>
#include <cwchar>
#include <string>

#include "settings/FileText.h"
#include "settings/ValueCodec.h"
#include "tests/fuzz/FuzzInput.h"
#include "tests/unit/settings_fakes.h"

using namespace settings;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::int32_t number = fuzz::Input(data, size).Int();
    const std::wstring text = fuzz::Input(data, size).Text();
    const std::wstring trimmed = TrimText(text);
    FUZZ_CHECK(text.find(trimmed) != std::wstring::npos);
    FUZZ_CHECK(trimmed.empty() || (trimmed.front() > L' ' && trimmed.back() > L' '));

    const auto value = ParseInteger(text);
    FUZZ_CHECK(ParseInteger(L" \t" + text + L"\r\n") == value);
    if (value) {
        FUZZ_CHECK(ParseInteger(IntegerText(*value)) == value);
        FUZZ_CHECK(trimmed.find_first_not_of(L"0123456789abcdefABCDEF$xX+-") == std::wstring::npos);
    }
    wchar_t hex[16];
    std::swprintf(hex, 16, L"$%X", static_cast<unsigned>(number));
    FUZZ_CHECK(ParseInteger(IntegerText(number)) == number && ParseInteger(hex) == number);

    if (auto b = ParseBoolean(text)) FUZZ_CHECK(SameTextNoCase(trimmed, BooleanText(*b)));
    FUZZ_CHECK(ParseBoolean(BooleanText(number & 1)) == static_cast<bool>(number & 1));

    std::wstring upper = text;
    for (wchar_t& c : upper)
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - 32);
    FUZZ_CHECK(SameTextNoCase(text, upper) && SameTextNoCase(upper, text));

    // Through the file: the profile reader strips blanks and one pair of matching quotes.
    fakes::ProfileFile files;
    IniFile ini(files, L"C:\\fuzz\\Tintsnatch4.ini", L"TTintsnatch4");
    ini.WriteString(L"Text", QuoteForProfile(trimmed));
    FUZZ_CHECK(ini.ReadString(L"Text", L"") == trimmed.substr(0, MaxValueLength));
    ini.WriteInteger(L"Number", number);
    FUZZ_CHECK(ini.ReadInteger(L"Number", ~number) == number);

    // Into the file's bytes and back, whatever the code page holds; plain wherever plain serves,
    // and plain bytes are never taken for the marked form.
    const fakes::Latin1CodePage latin1;
    for (auto encoding : {FileEncoding::Ansi, FileEncoding::Utf8}) {
        const std::string bytes = EncodeValue(trimmed, encoding, latin1);
        FUZZ_CHECK(DecodeValue(bytes, encoding, latin1) == trimmed);
        FUZZ_CHECK(bytes.find_first_of(std::string("\r\n\0", 3)) == std::string::npos);
        const bool marked = bytes.size() > 3 && bytes.compare(0, 3, Utf8Marker) == 0;
        if (!marked && encoding == FileEncoding::Ansi) FUZZ_CHECK(latin1.Decode(bytes) == trimmed);
    }
    std::string raw;
    for (wchar_t c : text) raw += static_cast<char>(c);
    if (raw.compare(0, 3, Utf8Marker) != 0)
        FUZZ_CHECK(DecodeValue(raw, FileEncoding::Ansi, latin1) == latin1.Decode(raw));
    return 0;
}
