#include "capture/PrintPlacement.h"

#include <algorithm>
#include <cstdint>

namespace printing {

Placement PlaceOnPage(int imageW, int imageH, int pageW, int pageH) {
    if (imageW <= 0 || imageH <= 0 || pageW <= 0 || pageH <= 0) return {};
    std::int64_t w, h;
    if (imageW <= pageW && imageH <= pageH) {
        int factor = std::min(pageW / imageW, pageH / imageH);
        w = static_cast<std::int64_t>(imageW) * factor;
        h = static_cast<std::int64_t>(imageH) * factor;
    } else if (static_cast<std::int64_t>(imageW) * pageH >=
               static_cast<std::int64_t>(imageH) * pageW) {
        // Relatively wider than the page: the width decides.
        w = pageW;
        h = std::max<std::int64_t>(1, static_cast<std::int64_t>(imageH) * pageW / imageW);
    } else {
        h = pageH;
        w = std::max<std::int64_t>(1, static_cast<std::int64_t>(imageW) * pageH / imageH);
    }
    Placement p;
    p.Width = static_cast<int>(w);
    p.Height = static_cast<int>(h);
    p.Left = (pageW - p.Width) / 2;
    p.Top = (pageH - p.Height) / 2;
    return p;
}

}  // namespace printing
