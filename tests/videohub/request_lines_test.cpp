#include "videohub/request_lines.h"

#include <gtest/gtest.h>

using Lines = std::vector<std::string>;

TEST(RequestLinesTest, RoutesAreTwoNumbersInRange) {
    EXPECT_EQ(ParseRouteLines({"7 2", "0 95", "31 0"}, 32, 96),
              (std::vector<CVideohubRoute>{{7, 2}, {0, 95}, {31, 0}}));
    for (const char* bad : {"32 0", "0 96", "7", "7 ", " 7 2", "7  2", "7 2 ", "-1 2", "7 x",
                            "07x 2", "99999 1", ""}) {
        EXPECT_FALSE(ParseRouteLines({"0 0", bad}, 32, 96)) << '"' << bad << '"';
    }
    EXPECT_EQ(ParseRouteLines({"007 002"}, 32, 96), (std::vector<CVideohubRoute>{{7, 2}}));
}

TEST(RequestLinesTest, LabelsTakeTheRestOfTheLineEmptyIncluded) {
    EXPECT_EQ(ParseLabelLines({"0 Camera 1", "5 本社 ロビー", "6 ", "7"}, 96),
              (std::vector<CVideohubLabel>{{0, "Camera 1"}, {5, "本社 ロビー"}, {6, ""}, {7, ""}}));
    EXPECT_FALSE(ParseLabelLines({"96 x"}, 96));
    EXPECT_FALSE(ParseLabelLines({"x y"}, 96));
}

TEST(RequestLinesTest, LocksAreOwnUnlockOrForce) {
    EXPECT_EQ(ParseLockLines({"3 O", "4 U", "5 F"}, 32),
              (std::vector<CVideohubLock>{
                  {3, LockRequest::kOwn}, {4, LockRequest::kUnlock}, {5, LockRequest::kForce}}));
    for (const char* bad : {"3 L", "3 o", "3 OO", "3", "32 O"}) {
        EXPECT_FALSE(ParseLockLines({bad}, 32)) << bad;
    }
}
