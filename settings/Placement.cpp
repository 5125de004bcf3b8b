#include "settings/Placement.h"

#include "settings/ValueCodec.h"

namespace settings {

namespace {
constexpr std::int32_t ShowHidden = 0, ShowMinimized = 2;
constexpr std::int32_t RestoreMinPosition = 1;  // WPF_SETMINPOSITION

const wchar_t* const KeyFlags = L"Flags";
const wchar_t* const KeyShowCmd = L"ShowCmd";
const wchar_t* const KeyPixels = L"PixelsPerInch";
const wchar_t* const KeyMinMax = L"MinMaxPos";
const wchar_t* const KeyNorm = L"NormPos";

bool IsSeparator(wchar_t c) { return c == L' ' || c == L','; }

// The per-size key first, the plain one when that is empty.
std::wstring ReadPosition(const IniFile& ini, const std::wstring& key, const std::wstring& suffix) {
    std::wstring text = ini.ReadString(key + suffix, L"");
    if (text.empty()) text = ini.ReadString(key, L"");
    return text;
}
}  // namespace

std::wstring ResolutionSuffix(int width, int height) {
    return L"(" + std::to_wstring(width) + L"x" + std::to_wstring(height) + L")";
}

std::wstring FormatFour(const std::array<std::int32_t, 4>& v) {
    return std::to_wstring(v[0]) + L"," + std::to_wstring(v[1]) + L"," + std::to_wstring(v[2]) +
           L"," + std::to_wstring(v[3]);
}

std::array<std::int32_t, 4> ParseFour(std::wstring_view text,
                                      const std::array<std::int32_t, 4>& defaults) {
    std::array<std::int32_t, 4> out = defaults;
    std::size_t i = 0;
    for (std::size_t word = 0; word < out.size(); ++word) {
        while (i < text.size() && IsSeparator(text[i])) ++i;
        std::size_t start = i;
        while (i < text.size() && !IsSeparator(text[i])) ++i;
        if (start == i) break;
        if (auto v = ParseInteger(text.substr(start, i - start))) out[word] = *v;
    }
    return out;
}

WindowState StateFromShowCmd(std::int32_t showCmd, WindowState fallback) {
    switch (showCmd) {
        case 1:
        case 5:
        case 9:
            return WindowState::Normal;
        case 2:
        case 6:
        case 7:
            return WindowState::Minimized;
        case 3:
            return WindowState::Maximized;
        default:
            return fallback;
    }
}

void WritePlacement(const PlacementWindow& window, IniFile& ini) {
    PlacementRecord r = window.GetPlacement();
    if (window.IsMainWindow() && window.ApplicationMinimized()) {
        r.showCmd = ShowMinimized;
    } else if (window.Kind() == WindowKind::MdiChild && window.State() == WindowState::Minimized) {
        r.flags |= RestoreMinPosition;
    }
    ScreenInfo screen = window.Screen();
    std::wstring suffix = ResolutionSuffix(screen.width, screen.height);
    ini.WriteInteger(KeyFlags, r.flags);
    ini.WriteInteger(KeyShowCmd, r.showCmd);
    ini.WriteInteger(KeyPixels, screen.pixelsPerInch);
    std::wstring minMax = FormatFour({r.minX, r.minY, r.maxX, r.maxY});
    ini.WriteString(KeyMinMax + suffix, minMax);
    ini.WriteString(KeyMinMax, minMax);
    std::wstring norm = FormatFour({r.left, r.top, r.right, r.bottom});
    ini.WriteString(KeyNorm + suffix, norm);
    ini.WriteString(KeyNorm, norm);
}

void ReadPlacement(PlacementWindow& window, const IniFile& ini, bool applyPosition,
                   bool applyState) {
    if (!applyPosition && !applyState) return;
    PlacementRecord r = window.GetPlacement();
    // Applying the record must not show a window that is not shown yet.
    if (!window.Visible()) r.showCmd = ShowHidden;

    if (applyPosition) {
        ScreenInfo screen = window.Screen();
        std::wstring suffix = ResolutionSuffix(screen.width, screen.height);
        r.flags = ini.ReadInteger(KeyFlags, r.flags);
        bool found = false;
        if (std::wstring text = ReadPosition(ini, KeyMinMax, suffix); !text.empty()) {
            auto v = ParseFour(text, {0, 0, 0, 0});
            r.minX = v[0], r.minY = v[1], r.maxX = v[2], r.maxY = v[3];
            found = true;
        }
        WindowBounds b = window.Bounds();
        if (std::wstring text = ReadPosition(ini, KeyNorm, suffix); !text.empty()) {
            auto v = ParseFour(text, {b.left, b.top, b.left + b.width, b.top + b.height});
            r.left = v[0], r.top = v[1], r.right = v[2], r.bottom = v[3];
            found = true;
        }
        // A position saved at another resolution would land somewhere else on this screen.
        int pixels = ini.ReadInteger(KeyPixels, screen.pixelsPerInch);
        if (found && pixels == screen.pixelsPerInch) {
            BorderStyle border = window.Border();
            if (border != BorderStyle::Sizeable && border != BorderStyle::SizeToolWin) {
                // A fixed-size window takes only its position from the file. A position so far
                // out (typed by hand) that the far edges would pass the int range is not applied.
                const std::int64_t right = std::int64_t{r.left} + b.width;
                const std::int64_t bottom = std::int64_t{r.top} + b.height;
                const bool inRange = right <= INT32_MAX && bottom <= INT32_MAX;
                r.right = inRange ? static_cast<std::int32_t>(right) : r.left;
                r.bottom = inRange ? static_cast<std::int32_t>(bottom) : r.top;
            }
            if (r.right > r.left) {
                StartPosition start = window.Start();
                if (start == StartPosition::ScreenCenter || start == StartPosition::DesktopCenter)
                    window.SetStart(StartPosition::AsDesigned);
                window.SetPlacement(r);
            }
        }
    }

    if (applyState) {
        WindowState fallback = WindowState::Normal;
        if (window.IsMainWindow() && (window.Kind() == WindowKind::MdiFrame ||
                                      (window.Kind() == WindowKind::Ordinary &&
                                       window.Start() == StartPosition::PlatformDefault)))
            fallback = WindowState::Maximized;
        WindowState state = StateFromShowCmd(ini.ReadInteger(KeyShowCmd, 0), fallback);
        if (state == WindowState::Minimized && window.IsMainWindow()) {
            // Saved while the application was minimised: minimise the whole application again,
            // not just this window.
            window.MinimizeApplication();
        } else {
            window.SetState(state);
        }
    }
    window.Repaint();
}

void ResetMaximizedPosition(PlacementWindow& window) {
    if (!window.HasHandle()) return;
    PlacementRecord r = window.GetPlacement();
    if (!window.Visible()) r.showCmd = ShowHidden;
    int x = 0, y = 0;
    switch (window.Border()) {
        case BorderStyle::Single:
        case BorderStyle::ToolWindow:
            x = window.Metric(SystemMetric::CxBorder);
            y = window.Metric(SystemMetric::CyBorder);
            break;
        case BorderStyle::Sizeable:
        case BorderStyle::SizeToolWin:
            x = window.Metric(SystemMetric::CxFrame);
            y = window.Metric(SystemMetric::CyFrame);
            break;
        case BorderStyle::Dialog:
            x = window.Metric(SystemMetric::CxDlgFrame);
            y = window.Metric(SystemMetric::CyDlgFrame);
            break;
        case BorderStyle::None:
            break;
    }
    r.maxX = -x;
    r.maxY = -y;
    window.SetPlacement(r);
}

}  // namespace settings
