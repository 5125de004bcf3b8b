// Placement written from and applied to a real tool window through the real settings file.
#include <gtest/gtest.h>

#include "settings/PlacementWin32.h"
#include "settings/ProfileFileWin32.h"
#include "tests/support/TestSupport.h"

namespace {

class SettingsPlacementWindow : public testing::Test {
  protected:
    void SetUp() override {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TSettingsPlacementTest";
        RegisterClassW(&wc);
        wchar_t tmp[MAX_PATH];
        GetTempPathW(MAX_PATH, tmp);
        path_ =
            std::wstring(tmp) + L"ts-placement-" + std::to_wstring(GetCurrentProcessId()) + L".ini";
        DeleteFileW(path_.c_str());
    }
    void TearDown() override {
        if (hwnd_) DestroyWindow(hwnd_);
        files_.Flush(path_);
        DeleteFileW(path_.c_str());
    }
    HWND Make(DWORD style, DWORD ex) {
        hwnd_ = CreateWindowExW(ex, L"TSettingsPlacementTest", L"t", style, 100, 120, 172, 98,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        return hwnd_;
    }
    RECT Rect() const {
        RECT r{};
        GetWindowRect(hwnd_, &r);
        return r;
    }
    HWND hwnd_ = nullptr;
    std::wstring path_;
    settings::Win32ProfileFile files_;
};

TEST_F(SettingsPlacementWindow, ToolWindowGoesBackToItsSavedPositionKeepingItsSize) {
    ASSERT_TRUE(Make(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, WS_EX_TOOLWINDOW));
    settings::Win32PlacementWindow window(hwnd_, settings::StartPosition::ScreenCenter);
    EXPECT_EQ(window.Border(), settings::BorderStyle::ToolWindow);
    EXPECT_EQ(window.State(), settings::WindowState::Normal);
    {
        settings::IniFile ini(files_, path_, window.ClassName());
        settings::WritePlacement(window, ini);
        ini.Commit();
    }
    // The stored size must not win over the size the window has now.
    SetWindowPos(hwnd_, nullptr, 400, 300, 300, 220, SWP_NOZORDER | SWP_NOACTIVATE);
    {
        settings::IniFile ini(files_, path_, L"TSettingsPlacementTest");
        EXPECT_EQ(ini.ReadString(L"NormPos", L""), L"100,120,272,218");
        settings::ReadPlacement(window, ini, true, true);
    }
    EXPECT_TRUE(testsupport::WaitFor([&] { return Rect().left == 100 && Rect().top == 120; }, 5000,
                                     "the window at its stored place"));
    RECT r = Rect();
    EXPECT_EQ(r.left, 100);
    EXPECT_EQ(r.top, 120);
    EXPECT_EQ(r.right - r.left, 300);
    EXPECT_EQ(r.bottom - r.top, 220);
    EXPECT_EQ(window.Start(), settings::StartPosition::AsDesigned);
    EXPECT_TRUE(IsWindowVisible(hwnd_));

    settings::ResetMaximizedPosition(window);
    settings::PlacementRecord p = window.GetPlacement();
    EXPECT_EQ(p.maxX, -GetSystemMetrics(SM_CXBORDER));
    EXPECT_EQ(p.maxY, -GetSystemMetrics(SM_CYBORDER));
    EXPECT_TRUE(IsWindowVisible(hwnd_));
}

TEST_F(SettingsPlacementWindow, ApplyingToAHiddenWindowDoesNotShowIt) {
    ASSERT_TRUE(Make(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, 0));
    settings::Win32PlacementWindow window(hwnd_, settings::StartPosition::AsDesigned);
    EXPECT_EQ(window.Border(), settings::BorderStyle::Sizeable);
    ASSERT_TRUE(WritePrivateProfileStringW(L"TSettingsPlacementTest", L"NormPos", L"10,20,210,170",
                                           path_.c_str()));
    {
        settings::IniFile ini(files_, path_, L"TSettingsPlacementTest");
        settings::ReadPlacement(window, ini, true, true);
        settings::ResetMaximizedPosition(window);
    }
    EXPECT_TRUE(testsupport::WaitFor([&] { return Rect().left == 10 && Rect().right == 210; }, 5000,
                                     "the window at its stored place"));
    EXPECT_FALSE(IsWindowVisible(hwnd_));
    RECT r = Rect();
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.right, 210) << "a sizeable window takes its size from the file";
}

}  // namespace
