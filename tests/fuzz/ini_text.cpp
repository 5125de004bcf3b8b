// The settings file's reader and editor on any bytes: a file read and written back is the same
// file; a value set reads back as set, also after the file is read again; and no other key of the
// file changes its value.
#include <cstdint>
#include <string>

#include "settings/IniText.h"
#include "settings/ValueCodec.h"
#include "tests/fuzz/FuzzInput.h"
#include "tests/unit/settings_fakes.h"

using settings::IniText;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const std::wstring section = in.Text(0), key = in.Text(0), other = in.Text(0);
    const std::wstring value = settings::TrimText(in.Text(0));
    std::string bytes;
    for (std::wstring rest = in.Text(); wchar_t c : rest) bytes += static_cast<char>(c);

    const fakes::Latin1CodePage codePage;
    IniText ini(bytes, codePage);
    if (settings::EncodingOf(bytes) != settings::FileEncoding::Utf16)
        FUZZ_CHECK(ini.Bytes() == bytes);
    // Names as ours are: printable ASCII, no blanks round them, nothing that starts a section.
    const auto usable = [](const std::wstring& name) {
        for (wchar_t c : name)
            if (c < L' ' || c > L'~' || c == L'=' || c == L']') return false;
        return !name.empty() && name == settings::TrimText(name) && name.front() != L'[';
    };
    if (!usable(section) || !usable(key)) return 0;

    const auto before = ini.Get(section, other);
    ini.Set(section, key, settings::QuoteForProfile(value));
    FUZZ_CHECK(ini.Get(section, key) == value);
    const IniText again(ini.Bytes(), codePage);
    FUZZ_CHECK(again.Get(section, key) == value);
    if (!settings::SameTextNoCase(settings::TrimText(other), key))
        FUZZ_CHECK(again.Get(section, other) == before);
    return 0;
}
