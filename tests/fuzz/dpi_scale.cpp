// DPI scaling of any value at any DPI, with no value overflowing: the nearest pixel with halves
// away from zero, saturated only beyond the int range; larger values never scale smaller (so
// rectangles that touch still touch); a negative value scales like its positive twin; the
// unscaled room is the largest design value that fits.
#include <climits>
#include <cstdint>

#include "tests/fuzz/FuzzInput.h"
#include "win/DpiScale.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const int value = in.Int(), dpi = in.Int();
    const int scaled = dpi::Scale(value, dpi);
    const std::int64_t exact = std::int64_t{value} * (dpi > 0 ? dpi : dpi::Design);  // x 96
    constexpr std::int64_t Half = dpi::Design / 2;
    if (scaled == INT_MAX) {
        FUZZ_CHECK(exact >= std::int64_t{INT_MAX} * dpi::Design - Half);
    } else if (scaled == INT_MIN) {
        FUZZ_CHECK(exact <= std::int64_t{INT_MIN} * dpi::Design + Half);
    } else {
        const std::int64_t error = std::int64_t{scaled} * dpi::Design - exact;
        FUZZ_CHECK(error >= -Half && error <= Half);
        if (error == Half || error == -Half) FUZZ_CHECK((error > 0) == (exact > 0));
        if (value != INT_MIN) FUZZ_CHECK(dpi::Scale(-value, dpi) == -scaled);
    }
    if (value < INT_MAX) FUZZ_CHECK(dpi::Scale(value + 1, dpi) >= scaled);

    const int design = dpi::Unscale(value, dpi);
    if (design != INT_MIN) FUZZ_CHECK(dpi::Scale(design, dpi) <= value);
    if (design != INT_MAX) FUZZ_CHECK(dpi::Scale(design + 1, dpi) > value);
    return 0;
}
