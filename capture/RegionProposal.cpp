#include "capture/RegionProposal.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <string>

namespace proposal {

std::wstring FormatRegion(const geo::Rect& r) {
    return std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L"," +
           std::to_wstring(r.right) + L"," + std::to_wstring(r.bottom);
}

std::optional<geo::Rect> ParseRegion(std::wstring_view text) {
    int v[4];
    std::string narrow;
    for (wchar_t c : text) {
        if (c > 0x7F) return std::nullopt;
        narrow += static_cast<char>(c);
    }
    const char* at = narrow.data();
    const char* end = narrow.data() + narrow.size();
    for (int i = 0; i < 4; ++i) {
        if (i > 0) {
            if (at == end || *at != ',') return std::nullopt;
            ++at;
        }
        auto [next, error] = std::from_chars(at, end, v[i]);
        if (error != std::errc()) return std::nullopt;
        at = next;
    }
    if (at != end) return std::nullopt;
    const geo::Rect r{v[0], v[1], v[2], v[3]};
    if (r.Empty()) return std::nullopt;
    return r;
}

std::optional<geo::Rect> OnDesk(const geo::Rect& kept, const std::vector<geo::Rect>& monitors) {
    // Only comparisons: no edge is ever computed from another, so no sum can overflow.
    std::optional<geo::Rect> left;
    for (const geo::Rect& m : monitors) {
        const geo::Rect part{std::max(kept.left, m.left), std::max(kept.top, m.top),
                             std::min(kept.right, m.right), std::min(kept.bottom, m.bottom)};
        if (part.Empty()) continue;
        if (!left) {
            left = part;
            continue;
        }
        left = geo::Rect{std::min(left->left, part.left), std::min(left->top, part.top),
                         std::max(left->right, part.right), std::max(left->bottom, part.bottom)};
    }
    return left;
}

geo::Rect Nudge(const geo::Rect& r, int dx, int dy, const geo::Rect& bounds) {
    // In 64 bits: a stored rectangle may lie anywhere an int reaches.
    auto along = [](long long low, long long high, long long by, long long min, long long max) {
        long long moved = low + by;
        if (high - low <= max - min) moved = std::clamp(moved, min, max - (high - low));
        return static_cast<int>(std::clamp<long long>(moved - low, -(1LL << 30), 1LL << 30));
    };
    const int mx = along(r.left, r.right, dx, bounds.left, bounds.right);
    const int my = along(r.top, r.bottom, dy, bounds.top, bounds.bottom);
    return {r.left + mx, r.top + my, r.right + mx, r.bottom + my};
}

std::wstring SizeText(const geo::Rect& r) {
    return std::to_wstring(std::abs(static_cast<long long>(r.right) - r.left)) + L" x " +
           std::to_wstring(std::abs(static_cast<long long>(r.bottom) - r.top));
}

geo::Point SizeLabelAt(const geo::Rect& r, geo::Size label, const geo::Rect& bounds) {
    constexpr int Gap = 4;
    const int right = std::max(r.left, r.right), bottom = std::max(r.top, r.bottom);
    const int top = std::min(r.top, r.bottom);
    int x = right - label.cx, y = bottom + Gap;
    if (y + label.cy > bounds.bottom) y = top - Gap - label.cy;
    if (y < bounds.top) y = bottom - Gap - label.cy;
    x = std::clamp(x, bounds.left, std::max(bounds.left, bounds.right - label.cx));
    y = std::clamp(y, bounds.top, std::max(bounds.top, bounds.bottom - label.cy));
    return {x, y};
}

}  // namespace proposal
