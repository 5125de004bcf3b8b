#pragma once
// Says something to the user's screen reader without moving the focus: what a copy put on the
// clipboard, which nothing on the screen shows, and what the pointer of the precise pick rests on.
#include <memory>
#include <string>

#include "win/Platform.h"

namespace a11y {

class Announcer {
  public:
    virtual ~Announcer() = default;
    // Said at once.
    virtual void Announce(const std::wstring& text) = 0;
    // Said once the pointer has rested: a text not said yet gives way to a newer one.
    virtual void AnnounceAtRest(const std::wstring& text) { Announce(text); }
    // While the returned object lives, `window` (a window of ours that the user sees while the
    // main window is hidden, as the pick's overlay) is where announcements come from.
    virtual std::shared_ptr<void> SpeakFrom(HWND window) {
        (void)window;
        return nullptr;
    }
};

}  // namespace a11y
