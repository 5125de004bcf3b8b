#pragma once
// Takes the program's windows off the screen at once and waits until the screen no longer shows
// them, instead of a fixed pause.
#include <vector>

#include "win/Platform.h"

namespace settle {

// The visible windows of the application (the ones its minimise takes away) and the areas they
// cover. While an instance lives, their fade in and out is turned off where the compositor has
// one, so that they leave the screen at once.
class OwnWindows {
  public:
    OwnWindows();
    ~OwnWindows();
    OwnWindows(const OwnWindows&) = delete;
    OwnWindows& operator=(const OwnWindows&) = delete;
    const std::vector<RECT>& Areas() const { return areas_; }

  private:
    std::vector<HWND> windows_;
    std::vector<RECT> areas_;
};

// Returns once the screen shows what lies beneath the vacated areas, or after limitMs at most.
void WaitUntilShown(const std::vector<RECT>& vacated, DWORD limitMs);

// A window of ours shown while captures are taken (the countdown): its fade in and out is turned
// off where the compositor has one, so that it leaves the screen at once; and where the system
// can keep it out of every capture, it is. True when it is kept out.
bool KeepOutOfCaptures(HWND window);

}  // namespace settle
