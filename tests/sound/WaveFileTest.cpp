#include <gtest/gtest.h>

#include "app/Exception.h"
#include "media/WaveFile.h"
#include "recording/SoundFileWriter.h"
#include "sound/TestWave.h"
#include "support/ScratchFolder.h"

namespace {

bool parses(const std::vector<std::uint8_t>& bytes) {
    WaveFile wave;
    return WaveFile::parse(bytes.data(), bytes.size(), wave);
}

TEST(WaveFile, ReadsTheSoundTheArchiveReaderWrites) {
    ScratchFolder folder(L"wvf");
    const std::wstring path = folder.file(L"restored.wav");
    const std::vector<std::uint8_t> samples = TestWave::noise(30000);
    SoundFileWriter writer;
    ASSERT_TRUE(writer.open(path));
    writer.write(samples.data(), 10000);
    writer.write(samples.data() + 10000, 20000);
    writer.finish();

    WaveFile wave = WaveFile::load(path);
    EXPECT_EQ(wave.format().formatTag, 1);
    EXPECT_EQ(wave.format().channels, 1);
    EXPECT_EQ(wave.format().samplesPerSecond, 11025u);
    EXPECT_EQ(wave.format().averageBytesPerSecond, 11025u);
    EXPECT_EQ(wave.format().blockAlign, 1);
    EXPECT_EQ(wave.format().bitsPerSample, 8);
    EXPECT_EQ(wave.samples(), samples);

    // An archive without sound leaves a valid file with no samples.
    ASSERT_TRUE(writer.open(path));
    writer.finish();
    EXPECT_TRUE(WaveFile::load(path).samples().empty());
}

TEST(WaveFile, RefusesEveryFormatButPcmMono11025WithBlockAlignmentOne) {
    TestWave accepted;
    accepted.samples = TestWave::noise(100);
    ASSERT_TRUE(parses(accepted.bytes()));

    TestWave stereo = accepted;
    stereo.channels = 2;
    TestWave fastRate = accepted;
    fastRate.samplesPerSecond = 22050;
    TestWave wideBlocks = accepted;
    wideBlocks.blockAlign = 2;
    TestWave compressed = accepted;
    compressed.formatTag = 2;
    for (const TestWave* refused : {&stereo, &fastRate, &wideBlocks, &compressed}) {
        EXPECT_FALSE(parses(refused->bytes()));
    }
    // Bits per sample is only passed on to the device.
    TestWave sixteenBits = accepted;
    sixteenBits.bitsPerSample = 16;
    EXPECT_TRUE(parses(sixteenBits.bytes()));
}

TEST(WaveFile, NothingMayStandBetweenTheFormatAndTheSamples) {
    TestWave listChunk;
    listChunk.samples = TestWave::noise(100);
    listChunk.chunkBeforeData = std::string("LIST\4\0\0\0INFO", 12);
    EXPECT_FALSE(parses(listChunk.bytes()));

    // An 18-byte format chunk (with its extra-size field) moves "data" off its place.
    TestWave longFormat;
    longFormat.samples = TestWave::noise(100);
    longFormat.formatChunkSize = 18;
    longFormat.chunkBeforeData = std::string("\0\0", 2);
    EXPECT_FALSE(parses(longFormat.bytes()));

    // The declared format chunk size is not believed either way: the fields are taken as 16 bytes.
    TestWave oddSize;
    oddSize.samples = TestWave::noise(100);
    oddSize.formatChunkSize = 40;
    EXPECT_TRUE(parses(oddSize.bytes()));
}

TEST(WaveFile, RefusesWrongTags) {
    TestWave wave;
    wave.samples = TestWave::noise(10);
    const std::vector<std::uint8_t> good = wave.bytes();
    for (std::size_t at : {0u, 8u, 12u, 36u}) {
        std::vector<std::uint8_t> bad = good;
        bad[at + 1] ^= 0x20;  // "RIFF" → "RiFF" and so on: case matters
        EXPECT_FALSE(parses(bad)) << "tag at " << at;
    }
}

TEST(WaveFile, RefusesTruncatedFilesAndSizesBeyondTheFile) {
    TestWave wave;
    wave.samples = TestWave::noise(1000);
    const std::vector<std::uint8_t> good = wave.bytes();
    for (std::size_t cut : {0u, 20u, 43u, 44u + 999u}) {
        std::vector<std::uint8_t> truncated(good.begin(), good.begin() + cut);
        EXPECT_FALSE(parses(truncated)) << cut << " bytes";
    }
    // Samples after the declared size are ignored.
    std::vector<std::uint8_t> trailing = good;
    trailing.insert(trailing.end(), 50, 0x11);
    WaveFile parsed;
    ASSERT_TRUE(WaveFile::parse(trailing.data(), trailing.size(), parsed));
    EXPECT_EQ(parsed.samples(), wave.samples);

    ScratchFolder folder(L"wvf");
    const std::wstring hostile = folder.file(L"hostile.wav");
    std::vector<std::uint8_t> huge = good;
    huge[40] = huge[41] = huge[42] = huge[43] = 0xFF;  // 4 GiB of samples claimed, 1000 present
    File file;
    ASSERT_TRUE(file.open(hostile, File::Mode::Create));
    ASSERT_TRUE(file.write(huge.data(), huge.size()));
    file.close();
    try {
        WaveFile::load(hostile);
        ADD_FAILURE() << "a size beyond the file was accepted";
    } catch (const Exception& failure) {
        EXPECT_EQ(failure.message(), hostile);
    }
}

}  // namespace
