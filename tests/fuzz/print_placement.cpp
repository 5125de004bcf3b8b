// A capture on a printed page for any image and page size: on the page, centred and never empty;
// a smaller image grows by the largest whole factor that fits; a larger one shrinks to touch two
// opposite edges of the page, its aspect kept to the pixel.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "capture/PrintPlacement.h"
#include "tests/fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const int imageW = in.Int(), imageH = in.Int(), pageW = in.Int(), pageH = in.Int();
    const printing::Placement p = printing::PlaceOnPage(imageW, imageH, pageW, pageH);
    if (imageW <= 0 || imageH <= 0 || pageW <= 0 || pageH <= 0) {
        FUZZ_CHECK(p.Left == 0 && p.Top == 0 && p.Width == 0 && p.Height == 0);
        return 0;
    }
    FUZZ_CHECK(p.Width >= 1 && p.Height >= 1 && p.Left >= 0 && p.Top >= 0);
    FUZZ_CHECK(p.Width <= pageW - p.Left && p.Height <= pageH - p.Top);
    FUZZ_CHECK(p.Left == (pageW - p.Width) / 2 && p.Top == (pageH - p.Height) / 2);
    if (imageW <= pageW && imageH <= pageH) {
        const std::int64_t factor = p.Width / imageW;
        FUZZ_CHECK(p.Width % imageW == 0 && p.Height % imageH == 0 && p.Height / imageH == factor);
        FUZZ_CHECK((factor + 1) * imageW > pageW || (factor + 1) * imageH > pageH);
    } else {
        FUZZ_CHECK(p.Width == pageW || p.Height == pageH);
        const std::int64_t cross = std::int64_t{p.Width} * imageH - std::int64_t{p.Height} * imageW;
        FUZZ_CHECK(std::llabs(cross) < std::max(imageW, imageH));
    }
    return 0;
}
