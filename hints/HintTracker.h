#pragma once
// When a hint shows and hides. Fed with what is under the cursor at each look (a poll), it says
// when to show the hint of that control and when to take it away: after the pause over one
// control, at once when the cursor leaves it or a mouse button goes down, and after the hide
// pause; a hint that went away does not come back until the cursor reaches another control.
#include <cstdint>
#include <string>
#include <string_view>

namespace hints {

struct HintTimes {
    unsigned pause = 500;        // cursor resting on a control until its hint shows
    unsigned reshowPause = 100;  // from one shown hint straight to the next control's
    unsigned hidePause = 5000;   // a shown hint goes away after this
};

// The platform tooltip's own timing, derived from the double-click time as its control does.
HintTimes TooltipTimes(unsigned doubleClickTime);

// The part of a hint "short|long" that a hint window shows: up to the first "|", or all of it.
std::wstring ShortHint(std::wstring_view hint);

class HintTracker {
  public:
    using Target = std::uintptr_t;  // the control under the cursor that has a hint; 0: none
    enum class Action { None, Show, Hide };

    explicit HintTracker(HintTimes times = {}) : times_(times) {}

    // One look at the cursor at time `now` (milliseconds, may wrap).
    Action Update(unsigned now, Target target, bool buttonDown);
    // The hint's window went away (its form was hidden): no hint until the target changes.
    void Cancel();

    bool Showing() const { return state_ == State::Showing; }
    Target Current() const { return target_; }
    const HintTimes& Times() const { return times_; }

  private:
    enum class State { Idle, Waiting, Showing, Done };
    HintTimes times_;
    State state_ = State::Idle;
    Target target_ = 0;
    unsigned since_ = 0;
    unsigned wait_ = 0;
};

}  // namespace hints
