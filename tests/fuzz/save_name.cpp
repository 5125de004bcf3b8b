// The one-key save's file name for any template text (the settings file holds it) and any
// attempt: never empty, within 255 characters, ending in the extension, with no character a file
// name cannot hold, no trailing blank or dot before the extension, and no device name.
#include <cstdint>
#include <string>

#include "capture/SaveName.h"
#include "tests/fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const int attempt = in.Int(1, 100000);
    savename::Fields f;
    f.Year = in.Int(-5, 99999);
    f.Width = in.Int(0, 70000);
    f.Mode = in.Text('\n');
    const std::wstring pattern = in.Text();

    const std::wstring ext = L".png";
    const std::wstring name = savename::Candidate(pattern, f, ext, attempt);
    FUZZ_CHECK(name.size() > ext.size() && name.size() <= 255);
    FUZZ_CHECK(name.ends_with(ext));
    for (wchar_t c : name)
        FUZZ_CHECK(c >= 32 && std::wstring(L"<>:\"/\\|?*").find(c) == std::wstring::npos);
    const wchar_t beforeExt = name[name.size() - ext.size() - 1];
    FUZZ_CHECK(beforeExt != L'.' || name.size() == ext.size() + 1);
    const std::wstring clean = savename::CleanFileName(name);
    FUZZ_CHECK(clean == name);
    return 0;
}
