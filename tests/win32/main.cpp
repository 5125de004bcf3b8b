// Runs the Win32 component tests under Wine (or Windows) with the application object set up.
#include <gtest/gtest.h>

#include "win/Application.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    auto& app = win::Application();
    app.SetTitle(L"Tintsnatch 4");
    app.SetName(L"Tintsnatch4");
    app.Initialize();
    return RUN_ALL_TESTS();
}
