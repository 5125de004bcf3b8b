#pragma once
// The action list: one table of commands shared by buttons, menu items and shortcuts.
#include <cstdint>
#include <deque>
#include <functional>
#include <string>

struct Action {
    std::wstring Name;
    std::wstring Caption;
    std::wstring Hint;
    std::uint16_t ShortCut =
        0;  // 16-bit shortcut word: key | 0x2000 Shift | 0x4000 Ctrl | 0x8000 Alt
    bool Checked = false;
    std::function<void(const Action* sender)> OnExecute;

    void Execute() const {
        if (OnExecute) OnExecute(this);
    }
};

class ActionList {
  public:
    Action& Add(Action a) {
        actions_.push_back(std::move(a));
        return actions_.back();
    }
    // nullptr when no action has that name / shortcut.
    Action* Find(const std::wstring& name) {
        for (auto& a : actions_)
            if (a.Name == name) return &a;
        return nullptr;
    }
    Action* FindShortCut(std::uint16_t shortcut) {
        if (shortcut == 0) return nullptr;
        for (auto& a : actions_)
            if (a.ShortCut == shortcut) return &a;
        return nullptr;
    }
    const std::deque<Action>& All() const { return actions_; }

  private:
    std::deque<Action> actions_;  // a deque: pointers to actions stay valid as it grows
};
