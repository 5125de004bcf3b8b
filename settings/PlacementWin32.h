#pragma once
// The placement rules applied to a real top-level window of this application.
#include "settings/Placement.h"
#include "win/Platform.h"

namespace settings {

class Win32PlacementWindow : public PlacementWindow {
  public:
    Win32PlacementWindow(HWND hwnd, StartPosition start) : hwnd_(hwnd), start_(start) {}

    bool HasHandle() const override;
    std::wstring ClassName() const override;
    PlacementRecord GetPlacement() const override;
    void SetPlacement(const PlacementRecord& record) override;
    bool Visible() const override;
    WindowBounds Bounds() const override;
    BorderStyle Border() const override;
    WindowKind Kind() const override;
    WindowState State() const override;
    void SetState(WindowState state) override;
    StartPosition Start() const override { return start_; }
    void SetStart(StartPosition start) override { start_ = start; }
    bool IsMainWindow() const override;
    bool ApplicationMinimized() const override;
    void MinimizeApplication() override;
    void Repaint() override;
    ScreenInfo Screen() const override;
    int Metric(SystemMetric metric) const override;

  private:
    HWND hwnd_;
    StartPosition start_;
};

}  // namespace settings
