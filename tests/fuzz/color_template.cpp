// The user's copy template on any text and any readouts: braces written doubled read back as the
// text itself, text without placeholders stays as typed, and the result stays bounded.
#include <algorithm>
#include <cstdint>
#include <string>

#include "colors/ColorTemplate.h"
#include "tests/fuzz/FuzzInput.h"

using namespace colors;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    Readouts r;
    r.ColR = in.Text('\n');
    r.ColHex = in.Text('\n');
    r.Position = in.Text('\n');
    const std::wstring text = in.Text();
    const TemplateValues values = ValuesOf(r);
    const std::wstring out = ExpandTemplate(text, values);

    const std::size_t longest = std::max(
        {values.red.size(), values.hex.size(), values.x.size(), values.y.size(), std::size_t{3}});
    FUZZ_CHECK(out.size() <= text.size() * longest);
    FUZZ_CHECK(CopyRefusal(text, out).has_value() == out.empty());

    const std::wstring cut = text.substr(0, MaxTemplateLength / 2);
    std::wstring escaped;
    for (wchar_t c : cut) {
        escaped += c;
        if (c == L'{' || c == L'}') escaped += c;
    }
    FUZZ_CHECK(ExpandTemplate(escaped, values) == cut);
    if (cut.find_first_of(L"{}") == std::wstring::npos)
        FUZZ_CHECK(ExpandTemplate(cut, values) == cut);
    return 0;
}
