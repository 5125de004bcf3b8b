#pragma once
// Reads the mean colour of a small block of a device context (the screen, or the magnifier's 1:1
// copy of it) through a kept 32-bit bitmap, so the pixels are read from memory in one copy
// instead of one platform call each.
#include <optional>

#include "app/ColorLibrary.h"
#include "win/Gdi.h"
#include "win/Geometry.h"

class BlockSampler {
  public:
    static constexpr int MaxSide = 9;
    // The mean of `area` of `from` (at most MaxSide x MaxSide); none when the copy fails (the
    // screen cannot be read while the session is locked) or the area is empty or too large.
    std::optional<RgbTriple> Mean(HDC from, const geo::Rect& area);

  private:
    bool Ensure(HDC like);
    std::optional<gdi::MemoryDC> dc_;
    gdi::Bitmap bitmap_;
    std::optional<gdi::Selection> selection_;
    void* bits_ = nullptr;
};
