// Balloon hints for any text, hint point, work area and monitor DPI: whatever flips keep the
// balloon inside, it keeps its size and its stem still touches the hint point; a fixed position
// with room is left alone; the body, stem and text lie within the balloon and the text fits.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "hints/BalloonGeometry.h"
#include "tests/fuzz/FuzzInput.h"

using namespace hints;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    // Screen-sized values: a desk, a measured text and a cursor stay far inside these.
    constexpr int Far = 1 << 20;
    const Size text{in.Int(0, Far), in.Int(0, Far)};
    const auto configured = static_cast<BalloonPosition>(in.Int(0, 4));
    const int cursorHeight = in.Int(0, 256), dpi = in.Int(96, 960);
    const Point hint{in.Int(-Far, Far), in.Int(-Far, Far)};
    const int left = in.Int(-Far, Far), top = in.Int(-Far, Far);
    const Rect work{left, top, left + in.Int(1, Far), top + in.Int(1, Far)};

    const Size b = BalloonSize(text, dpi);
    const Rect rect = BalloonRect(text, configured, cursorHeight, dpi).Moved(hint);
    FUZZ_CHECK(rect.Extent() == b && b.cx > text.cx && b.cy > text.cy);
    const BalloonPlacement placed = PlaceBalloon(rect, configured, work, cursorHeight, dpi);
    FUZZ_CHECK(placed.position != BalloonPosition::Automatic && placed.rect.Extent() == b);
    const auto stem = StemTriangle(placed.position, b, dpi);
    const Point tip{placed.rect.left + stem[0].x, placed.rect.top + stem[0].y};
    const int tipY = StemAtTop(placed.position) ? hint.y : hint.y - cursorHeight;
    FUZZ_CHECK(std::abs(tip.x - hint.x) <= 1 && std::abs(tip.y - tipY) <= 1);

    // The bottom and right limits are the work area's extent as well as its edges.
    const bool room = rect.left >= work.left && rect.top >= work.top &&
                      rect.right <= std::min(work.right, work.Width()) &&
                      rect.bottom <= std::min(work.bottom, work.Height());
    if (configured != BalloonPosition::Automatic && room)
        FUZZ_CHECK(placed.position == configured && placed.rect == rect);

    const Rect body = BodyRect(placed.position, b, dpi), area = TextRect(placed.position, b, dpi);
    FUZZ_CHECK(body.left >= 0 && body.top >= 0 && body.right <= b.cx && body.bottom <= b.cy);
    for (const Point p : stem) FUZZ_CHECK(p.x >= 0 && p.x <= b.cx && p.y >= 0 && p.y <= b.cy + 1);
    FUZZ_CHECK(stem[1].y == stem[2].y && stem[1].y >= body.top && stem[1].y <= body.bottom);
    FUZZ_CHECK(area.top >= body.top && body.right - area.left >= text.cx &&
               body.bottom - area.top >= text.cy);
    return 0;
}
