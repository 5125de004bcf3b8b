// The compact view samples the pixel under the cursor; the window follows and switches views.
#include <gtest/gtest.h>

#include "app/ControlIds.h"
#include "tests/e2e/Harness.h"

using namespace e2e;

class Sampling : public testing::Test {
  protected:
    PatternWindow pattern{{{{100, 100, 200, 200}, RGB(255, 0, 0)},
                           {{200, 100, 300, 200}, RGB(18, 52, 86)},
                           {{300, 100, 400, 200}, RGB(255, 255, 255)},
                           {{400, 100, 500, 200}, RGB(0, 0, 0)}}};
    App app;
    void SetUp() override { ASSERT_TRUE(app.Start()); }
};

TEST_F(Sampling, ReadoutsShowThePixelUnderTheCursor) {
    MoveCursor(150, 150);
    ASSERT_TRUE(WaitFor([&] { return app.Text(id::ColHex) == L"#FF0000"; }, 5000,
                        "ColHex showing \"#FF0000\""));
    EXPECT_EQ(app.Text(id::ColR), L"R:255");
    EXPECT_EQ(app.Text(id::ColG), L"G:0");
    EXPECT_EQ(app.Text(id::ColB), L"B:0");
    EXPECT_EQ(app.Text(id::ColC), L"C:0");
    EXPECT_EQ(app.Text(id::ColM), L"M:255");
    EXPECT_EQ(app.Text(id::ColY), L"Y:255");
    EXPECT_EQ(app.Text(id::ColK), L"K:0");
    EXPECT_EQ(app.Text(id::Position), L"(150,150)");

    MoveCursor(250, 120);
    ASSERT_TRUE(WaitFor([&] { return app.Text(id::ColHex) == L"#123456"; }, 5000,
                        "ColHex showing \"#123456\""));
    EXPECT_EQ(app.Text(id::ColK), L"K:169");
    EXPECT_EQ(app.Text(id::ColC), L"C:68");
    EXPECT_EQ(app.Text(id::Position), L"(250,120)");
}

TEST_F(Sampling, NothingOfTheApplicationStandsOnTheScreenOutsideItsWindow) {
    // The application's own taskbar window has no size; it must not leave a dot that the
    // sampler would read, for example in the middle of the screen.
    int cx = GetSystemMetrics(SM_CXSCREEN) / 2, cy = GetSystemMetrics(SM_CYSCREEN) / 2;
    MoveCursor(50, 50);  // out of the centred window first
    ASSERT_TRUE(WaitFor([&] { return app.Text(id::Position) == L"(50,50)"; }, 5000,
                        "Position showing \"(50,50)\""));
    MoveCursor(cx + 2, cy + 2);  // the following window now stands right of and below the centre
    ASSERT_TRUE(WaitFor(
        [&] {
            return app.Text(id::Position) ==
                   L"(" + std::to_wstring(cx + 2) + L"," + std::to_wstring(cy + 2) + L")";
        },
        5000, "the sample right of and below the centre"));
    MoveCursor(cx, cy);
    EXPECT_TRUE(WaitFor([&] { return app.Text(id::ColHex) == L"#282828"; }, 5000,
                        "ColHex showing \"#282828\""))
        << "sampled " << testing::PrintToString(app.Text(id::ColHex));
}
