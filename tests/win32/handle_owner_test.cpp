// The handle owner against the real platform: each handle given back exactly once, and the live
// GDI count the leak tests read kept exact through moves, resets and hand-overs.
#include <gtest/gtest.h>

#include <utility>

#include "win/Gdi.h"
#include "win/Handle.h"

TEST(HandleOwner, GdiOwnerFreesEachHandleOnceThroughMovesAndResets) {
    const int before = gdi::LiveCount();
    gdi::Brush a(CreateSolidBrush(RGB(1, 2, 3)));
    HBRUSH first = a.Get();
    ASSERT_TRUE(a);
    gdi::Brush b(std::move(a));
    EXPECT_FALSE(a);  // NOLINT(bugprone-use-after-move): a moved-from owner holds nothing
    EXPECT_EQ(gdi::LiveCount(), before + 1);

    b.Reset(CreateSolidBrush(RGB(4, 5, 6)));
    EXPECT_EQ(GetObjectType(first), 0u) << "the replaced brush is deleted";
    EXPECT_EQ(gdi::LiveCount(), before + 1);

    a = std::move(b);
    HBRUSH second = a.Release();
    EXPECT_EQ(gdi::LiveCount(), before);
    EXPECT_EQ(GetObjectType(second), static_cast<DWORD>(OBJ_BRUSH)) << "handed over, not deleted";
    DeleteObject(second);
}

TEST(HandleOwner, FileOwnerTakesTheFailureValueForNone) {
    win::FileHandle none(INVALID_HANDLE_VALUE);
    EXPECT_FALSE(none);
    EXPECT_TRUE(none.Close()) << "nothing to close is no failure";
}
