#pragma once
// Window placement in the settings file: where the window stood, its minimised and maximised
// positions and its show state. Each position is kept twice, once under a key for the screen size
// at which it was saved and once as the latest for any size, so each screen size seen before gets
// its own position back.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "settings/ProfileFile.h"

namespace settings {

// The platform's placement record, the fields we keep.
struct PlacementRecord {
    std::int32_t flags = 0;
    std::int32_t showCmd = 0;  // 0 hidden, 1 normal, 2 minimised, 3 maximised, ...
    std::int32_t minX = 0, minY = 0, maxX = 0, maxY = 0;
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const PlacementRecord&) const = default;
};

enum class BorderStyle { None, Single, Sizeable, Dialog, ToolWindow, SizeToolWin };
enum class StartPosition { AsDesigned, PlatformDefault, ScreenCenter, DesktopCenter };
enum class WindowState { Normal, Minimized, Maximized };
enum class WindowKind { Ordinary, MdiFrame, MdiChild };
enum class SystemMetric { CxBorder, CyBorder, CxFrame, CyFrame, CxDlgFrame, CyDlgFrame };

struct WindowBounds {
    int left = 0, top = 0, width = 0, height = 0;
};

struct ScreenInfo {
    int width = 0, height = 0, pixelsPerInch = 96;
};

// What the placement rules need of a top-level window and its surroundings.
class PlacementWindow {
  public:
    virtual ~PlacementWindow() = default;
    virtual bool HasHandle() const = 0;
    virtual std::wstring ClassName() const = 0;
    virtual PlacementRecord GetPlacement() const = 0;
    virtual void SetPlacement(const PlacementRecord& record) = 0;
    virtual bool Visible() const = 0;
    virtual WindowBounds Bounds() const = 0;
    virtual BorderStyle Border() const = 0;
    virtual WindowKind Kind() const = 0;
    virtual WindowState State() const = 0;
    virtual void SetState(WindowState state) = 0;
    virtual StartPosition Start() const = 0;
    // Changes only the rule; the window does not move.
    virtual void SetStart(StartPosition start) = 0;
    // The application's main window, or no main window exists yet.
    virtual bool IsMainWindow() const = 0;
    virtual bool ApplicationMinimized() const = 0;
    // Asks the application to minimise as a whole (all its windows and its taskbar button).
    virtual void MinimizeApplication() = 0;
    virtual void Repaint() = 0;
    virtual ScreenInfo Screen() const = 0;
    virtual int Metric(SystemMetric metric) const = 0;
};

// "(1024x768)": the suffix of the per-screen-size keys.
std::wstring ResolutionSuffix(int width, int height);
std::wstring FormatFour(const std::array<std::int32_t, 4>& values);
// Words separated by blanks or commas (runs of separators count as one); words 1 to 4 are
// parsed as integers, a missing or unparsable word keeping its default.
std::array<std::int32_t, 4> ParseFour(std::wstring_view text,
                                      const std::array<std::int32_t, 4>& defaults);
// ShowCmd from the file: 1, 5, 9 normal; 2, 6, 7 minimised; 3 maximised; else the default.
WindowState StateFromShowCmd(std::int32_t showCmd, WindowState fallback);

void WritePlacement(const PlacementWindow& window, IniFile& ini);
void ReadPlacement(PlacementWindow& window, const IniFile& ini, bool applyPosition,
                   bool applyState);
void ResetMaximizedPosition(PlacementWindow& window);

}  // namespace settings
