#pragma once
// The hint mechanism of one form: it looks at the cursor every PollInterval ms and shows the hint
// of the control under it in a window of the application's hint window class. It polls rather
// than tracking the form's mouse messages because the form is an always-on-top tool window that
// is rarely active, and hints must show over it all the same. While the cursor is away from the
// form and no hint shows, it sleeps: the form's next mouse message, or its showing, wakes it.
#include <memory>

#include "hints/HintTracker.h"
#include "hints/HintWindow.h"
#include "win/Window.h"

namespace hints {

// Times of the platform's own tooltips.
HintTimes PlatformHintTimes();

class HintMonitor : public win::Window {
  public:
    static constexpr UINT PollInterval = 50;

    // The settings outlive the monitor.
    HintMonitor(HWND form, const ApplicationHints& settings, HintTimes times);
    ~HintMonitor() override;

    // One look at the cursor (the timer calls it).
    void Poll();
    // The control whose hint belongs to a screen point: the deepest visible control of the form
    // there, or the nearest of its parents that has a hint; nullptr when none has one.
    HWND HintControlAt(POINT p) const;
    // The window the current hint is shown in (nullptr before the first hint).
    THintWindow* HintWindow() const { return window_.get(); }
    // False while it sleeps.
    bool Polling() const { return polling_; }

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

  private:
    static LRESULT CALLBACK FormProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    void FormMessage(UINT msg, WPARAM wp, LPARAM lp);
    void ShowHint(HWND control, POINT cursor);
    void HideHint();
    void Wake();

    HWND form_;
    const ApplicationHints& settings_;
    HintTracker tracker_;
    std::unique_ptr<THintWindow> window_;
    unsigned windowGeneration_ = 0;
    bool failed_ = false;
    bool polling_ = false;
};

}  // namespace hints
