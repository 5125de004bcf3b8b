#include <gtest/gtest.h>

#include "win/ErrorText.h"

TEST(ErrorReportText, AddsAFullStopOnlyWhenMissing) {
    EXPECT_EQ(win::WithFullStop(L"Cannot open clipboard"), L"Cannot open clipboard.");
    EXPECT_EQ(win::WithFullStop(L"Unable to write."), L"Unable to write.");
    EXPECT_EQ(win::WithFullStop(L""), L".");
}
