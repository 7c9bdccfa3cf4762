#include <gtest/gtest.h>

#include <climits>

#include "media/SoundBuffer.h"
#include "sound/TestWave.h"

namespace {

SoundBuffer soundOf(std::size_t bytes) {
    return SoundBuffer(TestWave::noise(bytes), 1, 11025);
}

TEST(SoundBuffer, ChunksAre200msAndEndOnWholeChunksCountedFromTheStart) {
    const SoundBuffer sound = soundOf(10000);
    EXPECT_EQ(sound.chunkSize(), 2205u);
    EXPECT_EQ(sound.scaledByteRate(), 11025000u);

    SoundBuffer::Chunk first = sound.chunkAt(0);
    EXPECT_EQ(first.start, 0u);
    EXPECT_EQ(first.end, 2205u);
    EXPECT_EQ(first.count, 2205u);

    // After a seek the first chunk is the shorter one; the next starts on the grid.
    SoundBuffer::Chunk afterSeek = sound.chunkAt(3000);
    EXPECT_EQ(afterSeek.end, 4410u);
    EXPECT_EQ(afterSeek.count, 1410u);
    EXPECT_EQ(sound.chunkAt(afterSeek.end).count, 2205u);
}

TEST(SoundBuffer, TheLastChunkStopsBeforeTheLastByteAndThenNothingIsLeft) {
    const SoundBuffer sound = soundOf(10000);
    SoundBuffer::Chunk last = sound.chunkAt(8820);
    EXPECT_EQ(last.end, 9999u);
    EXPECT_EQ(last.count, 1179u);
    EXPECT_EQ(sound.chunkAt(9999).count, 0u);
    // Positions beyond the data are held at its last byte.
    SoundBuffer::Chunk beyond = sound.chunkAt(50000);
    EXPECT_EQ(beyond.start, 9999u);
    EXPECT_EQ(beyond.count, 0u);

    // Walking the chunks covers every byte but the last exactly once.
    std::uint32_t covered = 0;
    for (SoundBuffer::Chunk chunk = sound.chunkAt(0); chunk.count > 0; chunk = sound.chunkAt(chunk.end)) {
        EXPECT_EQ(chunk.start, covered);
        covered += chunk.count;
    }
    EXPECT_EQ(covered, 9999u);
}

TEST(SoundBuffer, EmptyOrTinySoundsGiveNoChunks) {
    EXPECT_EQ(SoundBuffer().chunkAt(0).count, 0u);
    EXPECT_EQ(soundOf(0).chunkAt(0).count, 0u);
    EXPECT_EQ(soundOf(0).clampToData(500), 0u);
    EXPECT_EQ(soundOf(0).offsetOfTime(1000), 0u);
    EXPECT_EQ(soundOf(1).chunkAt(0).count, 0u);
    // A rate too low for a 200 ms chunk: nothing is written rather than dividing by zero.
    EXPECT_EQ(SoundBuffer(TestWave::noise(100), 1, 4).chunkAt(0).count, 0u);
}

TEST(SoundBuffer, VolumeScalesAroundSilenceTruncatingTowardZero) {
    for (int sample = 0; sample < 256; ++sample) {
        const auto s = static_cast<std::uint8_t>(sample);
        EXPECT_EQ(SoundBuffer::scaleSample(s, 16), s);
        EXPECT_EQ(SoundBuffer::scaleSample(s, 0), 128);
    }
    // Just below silence a floor division would give 127.
    EXPECT_EQ(SoundBuffer::scaleSample(127, 8), 128);
    EXPECT_EQ(SoundBuffer::scaleSample(0, 8), 64);
    EXPECT_EQ(SoundBuffer::scaleSample(255, 8), 191);
    EXPECT_EQ(SoundBuffer::scaleSample(0, 1), 120);
}

TEST(SoundBuffer, ConvertsOnlyTheChunkItIsGiven) {
    const std::vector<std::uint8_t> samples = TestWave::noise(5000);
    const SoundBuffer sound(samples, 1, 11025);
    const SoundBuffer::Chunk chunk = sound.chunkAt(3000);
    std::vector<std::uint8_t> out(chunk.count + 1, 0xEE);
    sound.convert(chunk, 5, out.data());
    for (std::uint32_t i = 0; i < chunk.count; ++i) {
        ASSERT_EQ(out[i], SoundBuffer::scaleSample(samples[3000 + i], 5)) << i;
    }
    EXPECT_EQ(out[chunk.count], 0xEE);

    // A chunk that does not fit the data is refused, not read past the end.
    SoundBuffer::Chunk forged{4000, 6205, 2205};
    std::vector<std::uint8_t> untouched(2205, 0xEE);
    sound.convert(forged, 16, untouched.data());
    EXPECT_EQ(untouched, std::vector<std::uint8_t>(2205, 0xEE));
}

TEST(SoundBuffer, TimesAndOffsetsConvertAndStayInsideTheData) {
    const SoundBuffer sound = soundOf(110250);  // 10 s
    EXPECT_EQ(sound.offsetOfTime(5000), 55125u);
    EXPECT_EQ(sound.timeOfOffset(55125), 5000);
    EXPECT_EQ(sound.offsetOfTime(33), 363u);
    EXPECT_EQ(sound.timeOfOffset(363), 32);  // whole milliseconds, truncated
    EXPECT_EQ(sound.offsetOfTime(0), 0u);
    EXPECT_EQ(sound.offsetOfTime(-40), 0u);
    EXPECT_EQ(sound.offsetOfTime(20000), 110249u);
    // Times whose byte offset exceeds 32 bits land at the end, not wrapped to an earlier place.
    EXPECT_EQ(sound.offsetOfTime(400000), 110249u);
    EXPECT_EQ(sound.offsetOfTime(INT_MAX), 110249u);

    EXPECT_EQ(sound.clampToData(-5), 0u);
    EXPECT_EQ(sound.clampToData(1000), 1000u);
    EXPECT_EQ(sound.clampToData(1LL << 40), 110249u);

    // 7 minutes: bytes × 1000 no longer fits in 32 bits.
    const SoundBuffer longSound = soundOf(11025 * 420);
    EXPECT_EQ(longSound.timeOfOffset(11025u * 400), 400000);
    EXPECT_EQ(longSound.offsetOfTime(400000), 11025u * 400);
}

}  // namespace
