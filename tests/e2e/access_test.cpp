// What a screen reader in another program finds in the running program: the self-drawn controls
// named by what they show, the labelled ones by their labels.
#include <gtest/gtest.h>

#include "app/ControlIds.h"
#include "tests/e2e/Harness.h"

using namespace e2e;

TEST(Access, AScreenReaderReadsTheNamesOfTheRunningProgramsControls) {
    PatternWindow pattern{{{{100, 100, 200, 200}, RGB(255, 0, 0)}}};
    App app;
    ASSERT_TRUE(app.Start());
    MoveCursor(150, 150);
    ASSERT_TRUE(
        WaitFor([&] { return AccessibleName(app.Control(id::TintColor)) == L"Colour 255 0 0"; },
                5000, "the swatch named by its colour"));
    EXPECT_EQ(AccessibleName(app.Control(id::ColHex)), L"#FF0000");
    EXPECT_EQ(AccessibleName(app.Control(id::JvZoom1)), L"Magnifier, zoom 7.4x");
    EXPECT_EQ(AccessibleName(app.Control(id::hkCapture)), L"Start capture");
    ASSERT_TRUE(app.Close());
}
