#include <gtest/gtest.h>

#include <limits>

#include "media/GammaCorrection.h"
#include "media/Image.h"

TEST(GammaCorrection, ValuesAreClampedToTheBrightnessRange) {
    GammaCorrection correction;
    EXPECT_EQ(correction.gamma(), 1.0);
    const double cases[][2] = {{0.05, 0.1},
                               {7, 5.0},
                               {-1, 0.1},
                               {std::numeric_limits<double>::infinity(), 5.0},
                               {std::numeric_limits<double>::quiet_NaN(), 1.0},
                               {2.5, 2.5}};
    for (const auto& [value, stored] : cases) {
        correction.setGamma(value);
        EXPECT_EQ(correction.gamma(), stored) << value;
    }
}

TEST(GammaCorrection, TableFollowsThePowerCurveAndKeepsItsEnds) {
    GammaCorrection correction;
    for (int step = 1; step <= 50; ++step) {
        correction.setGamma(step / 10.0);
        const auto& table = correction.table();
        ASSERT_EQ(table[0], 0) << step;
        ASSERT_EQ(table[255], 255) << step;
        for (int i = 1; i < 256; ++i) ASSERT_LE(table[i - 1], table[i]) << step << " at " << i;
        if (step == 10) {
            for (int i = 0; i < 256; ++i) ASSERT_EQ(table[i], i);
        }
    }
    correction.setGamma(2.0);  // square root: 64 → sqrt(64 / 255) × 255 + 0.5 = 128.25
    EXPECT_EQ(correction.table()[64], 128);
    correction.setGamma(0.5);  // square: 128 → 128² / 255 + 0.5 = 64.75
    EXPECT_EQ(correction.table()[128], 64);
}

TEST(GammaCorrection, ApplyRewritesColourBytesButNotTheFourth) {
    Image image(2, 1);
    const std::uint8_t original[8] = {64, 128, 255, 64, 0, 10, 20, 30};
    std::copy(std::begin(original), std::end(original), image.pixels());
    GammaCorrection correction;
    correction.apply(image);
    EXPECT_TRUE(std::equal(std::begin(original), std::end(original), image.pixels()));

    correction.setGamma(2.0);
    correction.apply(image);
    const auto& t = correction.table();
    const std::uint8_t expected[8] = {t[64], t[128], 255, 64, 0, t[10], t[20], 30};
    EXPECT_TRUE(std::equal(std::begin(expected), std::end(expected), image.pixels()));
}
