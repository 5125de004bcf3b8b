// Where the pointer's picture goes in a capture of an area of the screen.
#include <gtest/gtest.h>

#include "capture/CursorImage.h"

using cursorimage::PlaceInImage;

TEST(CaptureCursor, ThePictureGoesAtTheHotSpotLessItsOffsetFromTheAreasCorner) {
    const geo::Rect area{-200, 100, 300, 400};  // left of the primary monitor too
    EXPECT_EQ(PlaceInImage({0, 200}, {4, 2}, {32, 32}, area), (geo::Point{196, 98}));
    // Partly outside: still drawn, clipped by the image.
    EXPECT_EQ(PlaceInImage({-210, 90}, {0, 0}, {32, 32}, area), (geo::Point{-10, -10}));
    EXPECT_EQ(PlaceInImage({310, 200}, {0, 0}, {32, 32}, area), std::nullopt);
    EXPECT_EQ(PlaceInImage({-240, 200}, {8, 0}, {32, 32}, area), std::nullopt);
    EXPECT_EQ(PlaceInImage({0, 200}, {0, 0}, {0, 32}, area), std::nullopt) << "an empty picture";
}
