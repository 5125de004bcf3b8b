// The history's settings text on any input: what is read keeps the limits, has no colour twice
// and reads back from its own text unchanged.
#include <cstdint>
#include <set>

#include "colors/ColorHistory.h"
#include "tests/fuzz/FuzzInput.h"

using colors::ColorHistory;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ColorHistory h = ColorHistory::FromText(fuzz::Input(data, size).Text());
    FUZZ_CHECK(h.Size() <= ColorHistory::MaxEntries);
    FUZZ_CHECK(h.PinnedCount() <= ColorHistory::MaxPinned);
    FUZZ_CHECK(h.Size() - h.PinnedCount() <= ColorHistory::MaxRecent);
    std::set<std::uint32_t> seen;
    for (const auto& e : h.Entries()) FUZZ_CHECK(e.rgb <= 0xFFFFFF && seen.insert(e.rgb).second);
    FUZZ_CHECK(h.Text().size() < 2047);
    FUZZ_CHECK(ColorHistory::FromText(h.Text()) == h);
    return 0;
}
