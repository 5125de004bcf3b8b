#pragma once
// Balloon hints: TJvBalloonWindow shows a hint as a rounded balloon whose stem points at the hint
// point, and TJvBalloonHint, placed on a form, makes it the application's hint window class and
// shows the form's hints.
#include <memory>
#include <optional>

#include "hints/BalloonGeometry.h"
#include "hints/HintMonitor.h"
#include "hints/HintWindow.h"

class TJvBalloonWindow : public hints::THintWindow {
  public:
    explicit TJvBalloonWindow(const hints::ApplicationHints& settings,
                              hints::BalloonPosition position = hints::BalloonPosition::Automatic)
        : THintWindow(settings), position_(position) {}

    RECT CalcHintRect(int maxWidth, const std::wstring& text) override;
    void ActivateHint(RECT rect, const std::wstring& text) override;

    // The side the stem was on when last shown (never Automatic).
    hints::BalloonPosition ShownPosition() const { return shown_; }

  protected:
    const wchar_t* ClassName() const override { return L"TJvBalloonWindow"; }
    UINT ClassStyle() const override { return CS_DROPSHADOW; }
    void Paint(HDC dc) override;

  private:
    hints::BalloonPosition position_;
    hints::BalloonPosition shown_ = hints::BalloonPosition::StemTopRight;
};

enum TJvApplicationHintOption : unsigned {
    ahUseBalloonAsHint = 1,  // the application's hints show in balloons
};

class TJvBalloonHint {
  public:
    // form: the window whose controls' hints are shown (with all its views); settings: the
    // application's hint settings, whose window class the component swaps (they outlive it).
    TJvBalloonHint(HWND form, hints::ApplicationHints& settings,
                   hints::HintTimes times = hints::PlatformHintTimes());
    ~TJvBalloonHint();
    TJvBalloonHint(const TJvBalloonHint&) = delete;
    TJvBalloonHint& operator=(const TJvBalloonHint&) = delete;

    // Setting ahUseBalloonAsHint installs the balloon as the application's hint window class,
    // keeping the class in force; clearing it (or destroying the component) puts that one back.
    void SetApplicationHintOptions(unsigned options);
    unsigned ApplicationHintOptions() const { return options_; }

    hints::BalloonPosition DefaultBalloonPosition() const { return position_; }
    void SetDefaultBalloonPosition(hints::BalloonPosition position);

    hints::HintMonitor& Monitor() { return *monitor_; }

  private:
    void InstallBalloonClass();

    hints::ApplicationHints& settings_;
    unsigned options_ = 0;
    hints::BalloonPosition position_ = hints::BalloonPosition::Automatic;
    std::optional<hints::HintWindowClass> previous_;
    std::unique_ptr<hints::HintMonitor> monitor_;
};
