#pragma once
// Says something to the user's screen reader without moving the focus: what a copy put on the
// clipboard, which nothing on the screen shows.
#include <string>

namespace a11y {

class Announcer {
  public:
    virtual ~Announcer() = default;
    virtual void Announce(const std::wstring& text) = 0;
};

}  // namespace a11y
