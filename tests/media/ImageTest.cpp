#include <gtest/gtest.h>

#include <stdexcept>

#include "media/Image.h"

TEST(Image, RowsAreBottomUpAndCopiesDeep) {
    Image image(3, 2);
    EXPECT_EQ(image.size(), 24);
    for (int i = 0; i < image.size(); ++i) ASSERT_EQ(image.pixels()[i], 0);
    EXPECT_EQ(image.rowFromTop(1), image.pixels());  // the bottom row comes first
    EXPECT_EQ(image.rowFromTop(0), image.pixels() + 12);

    image.pixels()[5] = 77;
    auto copy = image.copy();
    EXPECT_NE(copy->pixels(), image.pixels());
    EXPECT_EQ(copy->width(), 3);
    EXPECT_EQ(copy->height(), 2);
    EXPECT_EQ(copy->pixels()[5], 77);
    copy->pixels()[5] = 1;
    EXPECT_EQ(image.pixels()[5], 77);
}

TEST(Image, SizesThatDoNotFitASigned32BitByteCountAreRefused) {
    EXPECT_TRUE(Image::fitsSize(32767, 16384));   // 2^31 - 2^17 bytes
    EXPECT_FALSE(Image::fitsSize(32768, 16384));  // exactly 2^31 bytes
    EXPECT_FALSE(Image::fitsSize(0, 10));
    EXPECT_FALSE(Image::fitsSize(10, -1));
    EXPECT_FALSE(Image::fitsSize(65535, 65535));
    EXPECT_EQ(Image::create(0, 5), nullptr);
    EXPECT_EQ(Image::createForOverwrite(100000, 100000), nullptr);
    EXPECT_THROW(Image(-2, 3), std::length_error);
}
