#include "capture/CursorImageWin32.h"

#include "capture/CursorImage.h"
#include "win/ErrorReport.h"

std::optional<TCursorShot> TCursorShot::Take() {
    CURSORINFO info{};
    info.cbSize = sizeof info;
    if (!GetCursorInfo(&info) || !(info.flags & CURSOR_SHOWING) || !info.hCursor)
        return std::nullopt;
    TCursorShot shot;
    shot.shape_.Reset(CopyIcon(info.hCursor));
    // Under Wine a pointer belongs to the process that made it and cannot be copied by another;
    // the standard arrow then stands in for it, at its place.
    if (!shot.shape_) shot.shape_.Reset(CopyIcon(LoadCursorW(nullptr, IDC_ARROW)));
    ICONINFO icon{};
    if (!shot.shape_ || !GetIconInfo(shot.shape_.Get(), &icon)) return std::nullopt;
    // GetIconInfo hands over bitmaps of its own; only their size is wanted. A two-colour pointer
    // has no colour bitmap, and its mask holds the AND and XOR halves one above the other.
    gdi::Bitmap mask(icon.hbmMask), color(icon.hbmColor);
    const SIZE maskSize = BitmapSize(mask.Get());
    shot.size_ = color ? BitmapSize(color.Get()) : SIZE{maskSize.cx, maskSize.cy / 2};
    // Wine answers for a standard pointer without its bitmaps: it has the system's pointer size.
    if (shot.size_.cx <= 0 || shot.size_.cy <= 0)
        shot.size_ = {GetSystemMetrics(SM_CXCURSOR), GetSystemMetrics(SM_CYCURSOR)};
    shot.hotSpot_ = {static_cast<LONG>(icon.xHotspot), static_cast<LONG>(icon.yHotspot)};
    shot.position_ = info.ptScreenPos;
    return shot;
}

void TCursorShot::DrawInto(TPicture& image, POINT origin) const {
    const auto at = cursorimage::PlaceInImage(
        {position_.x, position_.y}, {hotSpot_.x, hotSpot_.y}, {size_.cx, size_.cy},
        {origin.x, origin.y, origin.x + image.Width(), origin.y + image.Height()});
    if (!at) return;
    // DI_NORMAL applies the mask and the alpha channel as the screen shows the pointer.
    image.DrawOn([&](HDC dc) {
        if (!DrawIconEx(dc, at->x, at->y, shape_.Get(), size_.cx, size_.cy, 0, nullptr, DI_NORMAL))
            throw win::Error(L"Cannot draw the pointer into the image");
    });
}
