#include "hints/HintTracker.h"

namespace hints {

HintTimes TooltipTimes(unsigned doubleClickTime) {
    return {doubleClickTime, doubleClickTime / 5, doubleClickTime * 10};
}

std::wstring ShortHint(std::wstring_view hint) {
    return std::wstring(hint.substr(0, hint.find(L'|')));
}

HintTracker::Action HintTracker::Update(unsigned now, Target target, bool buttonDown) {
    if (target != target_) {
        bool wasShowing = state_ == State::Showing;
        target_ = target;
        since_ = now;
        if (target == 0) {
            state_ = State::Idle;
        } else {
            state_ = State::Waiting;
            wait_ = wasShowing ? times_.reshowPause : times_.pause;
        }
        return wasShowing ? Action::Hide : Action::None;
    }
    switch (state_) {
        case State::Waiting:
            if (buttonDown) {
                state_ = State::Done;
            } else if (now - since_ >= wait_) {
                state_ = State::Showing;
                since_ = now;
                return Action::Show;
            }
            break;
        case State::Showing:
            if (buttonDown || now - since_ >= times_.hidePause) {
                state_ = State::Done;
                return Action::Hide;
            }
            break;
        case State::Idle:
        case State::Done:
            break;
    }
    return Action::None;
}

void HintTracker::Cancel() {
    if (state_ != State::Idle) state_ = State::Done;
}

}  // namespace hints
