// Twips and pixels, and the centring rule, as the windows and the stored place use them.
#include "twips.h"

#include <gtest/gtest.h>

namespace {

TEST(Twips, LayoutLengthsRoundHalvesAwayFromZero) {
    EXPECT_EQ(twipsToPixels(6315, 96), 421);  // 421.0
    EXPECT_EQ(twipsToPixels(7, 96), 0);       // 0.47
    EXPECT_EQ(twipsToPixels(8, 96), 1);       // 0.53
    EXPECT_EQ(twipsToPixels(2250, 96), 150);  // 150.0
    EXPECT_EQ(twipsToPixels(2250, 144), 225); // 150% scaling
    EXPECT_EQ(twipsToPixels(45, 120), 4);     // 3.75
    EXPECT_EQ(twipsToPixels(36, 120), 3);     // 3.0
    EXPECT_EQ(twipsToPixels(30, 144), 3);     // 3.0
    EXPECT_EQ(twipsToPixels(15, 48), 1);      // 0.5, away from zero
}

TEST(Twips, PointerAndEdgePixelsRoundHalvesToEvenWithinAMillion) {
    EXPECT_EQ(twipsToNearestPixel(337.5, 96), 22); // 22.5
    EXPECT_EQ(twipsToNearestPixel(352.5, 96), 24); // 23.5
    EXPECT_EQ(twipsToNearestPixel(22.0, 96), 1);
    EXPECT_EQ(twipsToNearestPixel(-7.5, 96), 0); // -0.5
    EXPECT_EQ(twipsToNearestPixel(1e12, 96), 1000000);
    EXPECT_EQ(twipsToNearestPixel(-1e12, 96), -1000000);
}

TEST(Twips, PixelsBecomeFifteenTwipsEachAt96Dpi) {
    EXPECT_DOUBLE_EQ(pixelsToTwips(1280, 96), 19200.0);
    EXPECT_DOUBLE_EQ(pixelsToTwips(3, 144), 30.0);
    EXPECT_DOUBLE_EQ(pixelsToTwips(-2, 120), -24.0);
}

TEST(CentringRule, RoundsTheDifferenceThenHalvesTowardZero) {
    EXPECT_EQ(centredEdge(19200, 6435), 6382); // 12765 / 2
    EXPECT_EQ(centredEdge(100.5, 0), 50);      // 100 (half to even) / 2
    EXPECT_EQ(centredEdge(101.5, 0), 51);      // 102 / 2
    EXPECT_EQ(centredEdge(100, 103), -1);      // -3 / 2, toward zero
    EXPECT_EQ(centredEdge(7.4, 0), 3);
}

} // namespace
