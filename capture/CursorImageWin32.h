#pragma once
// The pointer as it was when a capture began (its shape, hot spot and place), kept so that it
// can be drawn into the image once the screen has been read.
#include <optional>

#include "capture/Picture.h"
#include "win/Handle.h"

class TCursorShot {
  public:
    // The pointer now; empty when it is hidden or cannot be read.
    static std::optional<TCursorShot> Take();
    // Draws the pointer, with its transparency, into the image of the screen area whose
    // top-left corner is origin.
    void DrawInto(TPicture& image, POINT origin) const;

  private:
    win::Icon shape_;  // a copy: the program that set the pointer may destroy its own
    POINT position_{}, hotSpot_{};
    SIZE size_{};
};
