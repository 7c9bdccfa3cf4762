#include "media/PixelRecycler.h"

#include <gtest/gtest.h>

#include <vector>

#include "media/Image.h"

namespace {

constexpr std::size_t kFrameBytes = 640 * 480 * 4;

TEST(PixelRecycler, AFreedFrameBufferServesTheNextOfItsSizeOnly) {
    PixelRecycler recycler;
    std::uint8_t* first = recycler.take(kFrameBytes);
    recycler.give(first, kFrameBytes);
    EXPECT_EQ(recycler.keptCount(), 1u);
    std::uint8_t* other = recycler.take(kFrameBytes / 2);  // another size: a new buffer
    EXPECT_NE(other, first);
    EXPECT_EQ(recycler.take(kFrameBytes), first);
    EXPECT_EQ(recycler.keptCount(), 0u);
    recycler.give(other, kFrameBytes / 2);
    recycler.give(first, kFrameBytes);
}

TEST(PixelRecycler, KeepsNoSmallBuffersAndAtMostAFewLargeOnes) {
    PixelRecycler recycler;
    recycler.give(recycler.take(PixelRecycler::smallestKept - 1), PixelRecycler::smallestKept - 1);
    recycler.give(nullptr, kFrameBytes);
    EXPECT_EQ(recycler.keptCount(), 0u);
    std::vector<std::uint8_t*> buffers;
    for (std::size_t i = 0; i < PixelRecycler::buffersKept + 2; ++i) buffers.push_back(recycler.take(kFrameBytes));
    for (std::uint8_t* buffer : buffers) recycler.give(buffer, kFrameBytes);
    EXPECT_EQ(recycler.keptCount(), PixelRecycler::buffersKept);
    // The newest are kept: the oldest made room.
    EXPECT_EQ(recycler.take(kFrameBytes), buffers[2]);
    recycler.give(buffers[2], kFrameBytes);
}

TEST(PixelRecycler, APictureMadeFromARecycledBufferIsStillZeroFilled) {
    {
        auto used = Image::createForOverwrite(640, 480);
        ASSERT_TRUE(used);
        used->pixels()[12345] = 77;
    }
    const Image fresh(640, 480);
    EXPECT_EQ(fresh.pixels()[12345], 0);
    const auto copy = fresh.copy();
    EXPECT_EQ(copy->pixels()[12345], 0);
}

}  // namespace
