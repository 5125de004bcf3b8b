#pragma once
// The main window made in this process, shown without activation, and taken down again so that
// the next test starts without it (no message filter, no main window, no quit message left).
#include <gtest/gtest.h>

#include "app/TintsnatchMain.h"
#include "win/Application.h"
#include "win/Controls.h"

class MainWindowFixture : public testing::Test {
  protected:
    TTintsnatch4 form;

    void SetUp() override {
        form.CreateForm();
        ShowWindow(form.Handle(), SW_SHOWNOACTIVATE);
    }
    void TearDown() override {
        DestroyWindow(form.Handle());
        auto& app = win::Application();
        app.SetMessageFilter(nullptr);
        app.SetMainWindow(nullptr);
        MSG m;
        while (PeekMessageW(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
    HWND Control(int id) const { return win::FindControl(form.Handle(), id); }
};
