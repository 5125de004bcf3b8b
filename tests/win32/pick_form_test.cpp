// The precise pick's overlay against the real platform: a key step moves the pointer, reads the
// frozen copy there and settles at once.
#include <gtest/gtest.h>

#include <optional>
#include <utility>
#include <vector>

#include "pick/PickForm.h"
#include "tests/support/TestSupport.h"

TEST(PickForm, AKeyStepSettlesAtOnceWithTheFrozenColourThere) {
    std::optional<testsupport::PatternWindow> pattern;
    pattern.emplace(
        std::vector<testsupport::PatternWindow::Block>{{{50, 40, 51, 41}, RGB(1, 2, 3)}},
        RGB(200, 100, 50));
    ASSERT_TRUE(testsupport::MoveCursor(49, 40));
    TPickForm form(nullptr, LoupeLook{});
    std::vector<std::pair<COLORREF, POINT>> settled;
    form.OnSettle = [&](COLORREF color, POINT at) { settled.emplace_back(color, at); };
    EXPECT_EQ(form.Color(), RGB(200, 100, 50));
    // The pattern leaves; the frozen copy keeps what it showed.
    pattern.reset();
    SendMessageW(form.Handle(), WM_KEYDOWN, VK_RIGHT, 0);
    ASSERT_EQ(settled.size(), 1u);
    EXPECT_EQ(settled[0].first, RGB(1, 2, 3));
    EXPECT_TRUE(settled[0].second.x == 50 && settled[0].second.y == 40);
    POINT p{};
    GetCursorPos(&p);
    EXPECT_TRUE(p.x == 50 && p.y == 40) << "the pointer goes along";
}
