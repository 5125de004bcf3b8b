// Runs the Win32 component tests under Wine (or Windows) with the application object set up.
#include <gtest/gtest.h>

#include <string>

#include "win/Application.h"

namespace {
// Tests that create the main window must not see each other's settings: the settings file beside
// this program is removed before every test.
class FreshSettings : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo&) override {
        wchar_t path[MAX_PATH];
        GetModuleFileNameW(nullptr, path, MAX_PATH);
        std::wstring ini = path;
        ini = ini.substr(0, ini.find_last_of(L"\\/") + 1) + L"Tintsnatch4.ini";
        SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(ini.c_str());
    }
};
}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new FreshSettings);
    auto& app = win::Application();
    app.SetTitle(L"Tintsnatch 4");
    app.SetName(L"Tintsnatch4");
    app.Initialize();
    return RUN_ALL_TESTS();
}
