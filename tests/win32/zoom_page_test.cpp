// The main window's zoom controls, in this process: the magnifiers they drive, the hints they
// change and the notifications the sliders send.
#include <gtest/gtest.h>

#include <memory>

#include "app/Components.h"
#include "app/ControlIds.h"
#include "app/TintsnatchMain.h"
#include "win/Application.h"
#include "win/Controls.h"
#include "win/Hints.h"

class ZoomPage : public testing::Test {
  protected:
    std::unique_ptr<TTintsnatch4> form = std::make_unique<TTintsnatch4>();

    void SetUp() override {
        form->CreateForm();  // built and created, never shown
        ASSERT_TRUE(form->Handle());
    }
    void TearDown() override {
        form.reset();
        // The form registered itself with the application object and quit the loop on its way.
        auto& app = win::Application();
        app.SetMessageFilter(nullptr);
        app.SetMainWindow(nullptr);
        MSG m;
        while (PeekMessageW(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
    HWND Control(int id) const { return win::FindControl(form->Handle(), id); }
    TJvZoom& Zoom(int id) const {
        TJvZoom* z = TJvZoom::FromHandle(Control(id));
        if (!z) throw std::runtime_error("no magnifier");
        return *z;
    }
    int Level() const { return win::TrackPosition(Control(id::ZoomSlider)); }
    // Both magnifiers agree with the slider, and so do the label and the slider's hint.
    void ExpectLevel(int level) const {
        EXPECT_EQ(Level(), level);
        EXPECT_EQ(win::GetText(Control(id::lblZoomFactor)), std::to_wstring(level));
        EXPECT_EQ(win::GetHint(Control(id::ZoomSlider)), std::to_wstring(level));
        EXPECT_EQ(Zoom(id::JvZoom1).ZoomLevel(), level);
        EXPECT_EQ(Zoom(id::JvZoom2).ZoomLevel(), level);
    }
    static RECT RectIn(HWND child) {
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
};

TEST_F(ZoomPage, MagnifiersStartActiveAtTheSliderLevelWithTheDesignValues) {
    for (int id : {id::JvZoom1, id::JvZoom2}) {
        TJvZoom& z = Zoom(id);
        EXPECT_TRUE(z.Active());
        EXPECT_EQ(z.ZoomLevel(), 15);
        EXPECT_EQ(z.Delay(), 5);
        EXPECT_TRUE(z.Crosshair());
        EXPECT_EQ(z.CrosshairSize(), 30);
        EXPECT_EQ(z.CrosshairColor(), RGB(0, 0, 0));
        EXPECT_TRUE(z.CacheOnDeactivate());
    }
    EXPECT_EQ(GetParent(Control(id::JvZoom1)), Control(id::ColorZoomPanel));
    RECT r = RectIn(Control(id::JvZoom1));
    EXPECT_EQ(r.left, 1);
    EXPECT_EQ(r.top, 1);
    EXPECT_EQ(r.right - r.left, 74);
    EXPECT_EQ(r.bottom - r.top, 74);
    EXPECT_EQ(GetParent(Control(id::JvZoom2)), Control(id::tsZoom));
    r = RectIn(Control(id::JvZoom2));
    EXPECT_EQ(r.left, 144);
    EXPECT_EQ(r.top, 16);
    EXPECT_EQ(r.right - r.left, 74);
    r = RectIn(Control(id::Bevel1));
    EXPECT_EQ(r.left, 143);
    EXPECT_EQ(r.top, 15);
    EXPECT_EQ(r.right - r.left, 76);
    EXPECT_EQ(r.bottom - r.top, 76);

    HWND slider = Control(id::ZoomSlider);
    EXPECT_EQ(win::TrackMin(slider), 1);
    EXPECT_EQ(win::TrackMax(slider), 100);
    EXPECT_EQ(Level(), 15);
    EXPECT_EQ(SendMessageW(slider, TBM_GETPAGESIZE, 0, 0), 1);
    EXPECT_TRUE(GetWindowLongPtrW(slider, GWL_STYLE) & TBS_NOTICKS);
    EXPECT_EQ(win::GetHint(slider), L"Change to increase or decrease zoom level");
    HWND size = Control(id::CroshairSize);
    EXPECT_EQ(win::TrackMin(size), 5);
    EXPECT_EQ(win::TrackMax(size), 100);
    EXPECT_EQ(win::TrackPosition(size), 30);
    EXPECT_TRUE(IsWindowEnabled(size));

    EXPECT_EQ(win::GetText(Control(id::gbZoom)), L"Zoom");
    EXPECT_EQ(win::GetText(Control(id::lblFactor)), L"Factor:");
    EXPECT_EQ(win::GetText(Control(id::lblZoomFactor)), L"15");
    EXPECT_EQ(win::GetText(Control(id::Label3)), L"1:1");
    EXPECT_EQ(win::GetText(Control(id::Label8)), L"Croshair Size:");
    EXPECT_EQ(win::GetText(Control(id::Label9)), L"");
    EXPECT_EQ(win::GetText(Control(id::cbCroshair)), L"Croshair (on/off)");
    EXPECT_TRUE(win::IsChecked(Control(id::cbCroshair)));
    HWND picture = Control(id::Image2);
    EXPECT_NE(SendMessageW(picture, STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
    r = RectIn(picture);
    EXPECT_EQ(r.right - r.left, 32);
    EXPECT_EQ(r.bottom - r.top, 32);
}

TEST_F(ZoomPage, ZoomStepsStayWithinOneToHundred) {
    form->ZoomInExecute();
    ExpectLevel(16);
    form->FormMouseWheel(-120);
    ExpectLevel(15);
    form->FormMouseWheel(1);  // one step whatever the distance
    ExpectLevel(16);
    form->FormMouseWheel(-360);
    ExpectLevel(15);
    form->FormMouseWheel(0);
    ExpectLevel(15);
    form->Actions().Find(L"ZoomIn")->Execute();
    ExpectLevel(16);
    form->Actions().Find(L"ZoomOut")->Execute();
    ExpectLevel(15);

    for (int i = 0; i < 90; ++i) form->ZoomInExecute();
    ExpectLevel(100);
    // At the bounds nothing changes and the change handler does not run.
    HWND slider = Control(id::ZoomSlider);
    win::SetHint(slider, L"untouched");
    form->ZoomInExecute();
    form->FormMouseWheel(120);
    EXPECT_EQ(Level(), 100);
    EXPECT_EQ(win::GetHint(slider), L"untouched");

    for (int i = 0; i < 99; ++i) form->FormMouseWheel(-120);
    ExpectLevel(1);
    win::SetHint(slider, L"untouched");
    form->ZoomOutExecute();
    EXPECT_EQ(Level(), 1);
    EXPECT_EQ(win::GetHint(slider), L"untouched");
}

TEST_F(ZoomPage, SliderNotificationsRunTheChangeHandlersOnlyForANewPosition) {
    HWND slider = Control(id::ZoomSlider);
    SendMessageW(slider, WM_KEYDOWN, VK_RIGHT, 0);
    SendMessageW(slider, WM_KEYUP, VK_RIGHT, 0);
    ExpectLevel(16);
    SendMessageW(slider, WM_KEYDOWN, VK_END, 0);
    SendMessageW(slider, WM_KEYUP, VK_END, 0);
    ExpectLevel(100);
    win::SetHint(slider, L"untouched");
    SendMessageW(slider, WM_KEYDOWN, VK_END, 0);
    SendMessageW(slider, WM_KEYUP, VK_END, 0);
    EXPECT_EQ(win::GetHint(slider), L"untouched");

    HWND size = Control(id::CroshairSize);
    SendMessageW(size, WM_KEYDOWN, VK_RIGHT, 0);
    SendMessageW(size, WM_KEYUP, VK_RIGHT, 0);
    EXPECT_EQ(win::GetText(Control(id::Label9)), L"31");
    EXPECT_EQ(win::GetHint(size), L"31");
    EXPECT_EQ(Zoom(id::JvZoom1).CrosshairSize(), 31);
    EXPECT_EQ(Zoom(id::JvZoom2).CrosshairSize(), 31);
    SendMessageW(size, WM_KEYDOWN, VK_HOME, 0);
    SendMessageW(size, WM_KEYUP, VK_HOME, 0);
    EXPECT_EQ(win::GetText(Control(id::Label9)), L"5");
    EXPECT_EQ(Zoom(id::JvZoom2).CrosshairSize(), 5);
    win::SetHint(size, L"untouched");
    SendMessageW(size, WM_KEYDOWN, VK_LEFT, 0);
    SendMessageW(size, WM_KEYUP, VK_LEFT, 0);
    EXPECT_EQ(win::GetHint(size), L"untouched");
}

TEST_F(ZoomPage, CrosshairBoxSwitchesBothMagnifiersAndGreysTheSizeSlider) {
    HWND box = Control(id::cbCroshair);
    HWND size = Control(id::CroshairSize);
    SendMessageW(box, BM_CLICK, 0, 0);
    EXPECT_FALSE(win::IsChecked(box));
    EXPECT_FALSE(Zoom(id::JvZoom1).Crosshair());
    EXPECT_FALSE(Zoom(id::JvZoom2).Crosshair());
    EXPECT_FALSE(IsWindowEnabled(size));
    SendMessageW(box, BM_CLICK, 0, 0);
    EXPECT_TRUE(win::IsChecked(box));
    EXPECT_TRUE(Zoom(id::JvZoom1).Crosshair());
    EXPECT_TRUE(Zoom(id::JvZoom2).Crosshair());
    EXPECT_TRUE(IsWindowEnabled(size));
}
