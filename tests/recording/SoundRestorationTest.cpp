#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/Texts.h"
#include "platform/FileSystem.h"
#include "platform/Utf8.h"
#include "recording/CraftedArchive.h"
#include "recording/SoundRestorer.h"
#include "recording/SoundWarning.h"
#include "recording/VideoArchive.h"
#include "tools/samplewriter/SampleArchive.h"

namespace {

namespace sw = samplewriter;
using crafted::Archive;

constexpr std::size_t kWaveHeader = 44;

std::uint32_t little32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

sw::Bytes ramp(std::size_t count, std::uint8_t start) {
    sw::Bytes samples(count);
    for (std::size_t i = 0; i < count; ++i) samples[i] = static_cast<std::uint8_t>(start + i);
    return samples;
}

sw::Bytes samplesOf(const std::vector<std::uint8_t>& wave) {
    return wave.size() < kWaveHeader ? sw::Bytes{} : sw::Bytes(wave.begin() + kWaveHeader, wave.end());
}

// Points the system's temporary folder somewhere else for one test.
class TemporaryFolderOverride {
public:
    explicit TemporaryFolderOverride(const std::string& folder) {
#ifdef _WIN32
        const char* old = std::getenv("TMP");
        saved_ = old ? old : "";
        _putenv_s("TMP", folder.c_str());
#else
        const char* old = std::getenv("TMPDIR");
        saved_ = old ? old : "";
        setenv("TMPDIR", folder.c_str(), 1);
#endif
    }
    ~TemporaryFolderOverride() {
#ifdef _WIN32
        _putenv_s("TMP", saved_.c_str());
#else
        if (saved_.empty()) {
            unsetenv("TMPDIR");
        } else {
            setenv("TMPDIR", saved_.c_str(), 1);
        }
#endif
    }

private:
    std::string saved_;
};

std::vector<std::wstring> warnings;
void collectWarning(const std::wstring& text) {
    warnings.push_back(text);
}

class SoundRestoration : public ::testing::Test {
protected:
    void SetUp() override { crafted::useShippedModelCode(); }

    std::vector<std::uint8_t> restored(const Archive& bytes) {
        archive.readEventArchive(bytes.source());
        return crafted::fileBytes(archive.soundFilePath());
    }

    VideoArchive archive;
};

TEST_F(SoundRestoration, EachBlockIsCutAtTheNextAndTheRestIsSilence) {
    const sw::Bytes first = ramp(3000, 0);
    const sw::Bytes second = ramp(3000, 100);
    Archive bytes;
    bytes.sound(0, first).sound(500, second);
    const std::vector<std::uint8_t> wave = restored(bytes);

    // RIFF size 8548, PCM, one channel, 11025 samples and bytes a second, 8 bits, data size 8512.
    const std::uint8_t header[kWaveHeader] = {
        'R', 'I',  'F',  'F', 0x64, 0x21, 0,    0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ', 16,  0,    0,    0, 1, 0, 1,
        0,   0x11, 0x2B, 0,   0,    0x11, 0x2B, 0, 0,   1,   0,   8,   0,   'd', 'a', 't', 'a', 0x40, 0x21, 0, 0};
    ASSERT_EQ(wave.size(), kWaveHeader + 8512);
    EXPECT_TRUE(std::equal(header, header + kWaveHeader, wave.begin()));
    EXPECT_EQ(archive.soundDataBytes(), 8512);

    sw::Bytes expected = first;
    expected.resize(5512, 0x80);
    sw::appendBytes(expected, second);
    EXPECT_EQ(samplesOf(wave), expected);
}

TEST_F(SoundRestoration, BlocksAreTakenInStampOrderAndEqualStampsInFileOrder) {
    Archive bytes;
    bytes.sound(1000, ramp(100, 30)).sound(0, ramp(100, 10)).sound(1000, ramp(100, 20));
    const sw::Bytes samples = samplesOf(restored(bytes));
    ASSERT_EQ(samples.size(), 11025u + 100u);
    EXPECT_EQ(samples[0], 10);
    EXPECT_EQ(samples[100], 0x80);
    // The block at 1000 ms met first in the file gives nothing (gap 0), the last one plays.
    EXPECT_EQ(samples[11025], 20);
}

TEST_F(SoundRestoration, LongBlocksAreCutAtTenThousandBytesAndTinyGapsGiveNothing) {
    Archive bytes;
    bytes.sound(0, ramp(12000, 0)).sound(1, ramp(50, 1)).sound(2000, ramp(20000, 0));
    const sw::Bytes samples = samplesOf(restored(bytes));
    // Block at 0: gap of 11 samples to the next block, too small to count.
    // Block at 1 ms: 50 samples, silence up to 22050, then the last block's 10000.
    ASSERT_EQ(samples.size(), 22050u + 10000u);
    EXPECT_EQ(samples[0], 1);
    EXPECT_EQ(samples[49], 50);
    EXPECT_EQ(samples[50], 0x80);
    EXPECT_EQ(samples[22049], 0x80);
    EXPECT_EQ(samples[22050 + 9999], static_cast<std::uint8_t>(9999));
}

TEST_F(SoundRestoration, OnlyTheBlocksOwnPayloadIsTakenAsSamples) {
    Archive bytes;
    sw::BlockHeaderFields claimsMore;
    claimsMore.type = sw::kSoundBlock;
    claimsMore.payloadSize = 100;
    claimsMore.soundBytes = 5000;
    claimsMore.stamp = 0;
    bytes.block(claimsMore, ramp(100, 0)).sound(1000, ramp(20, 0));
    const sw::Bytes samples = samplesOf(restored(bytes));
    ASSERT_EQ(samples.size(), 11025u + 20u);
    EXPECT_EQ(samples[99], 99);
    EXPECT_EQ(samples[100], 0x80);  // not the next block's header
}

TEST_F(SoundRestoration, SampleRecordingIsRestoredSampleForSample) {
    sw::ArchiveSetup setup;
    setup.frameCount = 60;
    setup.eventFrame = 30;
    setup.width = 16;
    setup.height = 16;
    archive.readEventArchive(std::make_unique<MemorySource>(sw::buildArchive(setup)));
    EXPECT_EQ(samplesOf(crafted::fileBytes(archive.soundFilePath())), sw::recordingSound(setup));
}

TEST_F(SoundRestoration, NoSoundBlocksLeaveAValidEmptyFile) {
    Archive bytes;
    bytes.leadIn(0).picture(1000, crafted::kDay);
    const std::vector<std::uint8_t> wave = restored(bytes);
    ASSERT_EQ(wave.size(), kWaveHeader);
    EXPECT_EQ(little32(wave, 4), 36u);
    EXPECT_EQ(little32(wave, 40), 0u);
}

TEST_F(SoundRestoration, StampsThatJumpCannotFillTheDisk) {
    Archive bytes;
    bytes.sound(0x80000000u, ramp(100, 0)).sound(0x7FFFFFFFu, ramp(100, 0)).sound(0, ramp(100, 0));
    const std::vector<std::uint8_t> wave = restored(bytes);
    EXPECT_EQ(archive.soundDataBytes(), SoundRestorer::kMaxSamples);
    EXPECT_EQ(wave.size(), kWaveHeader + SoundRestorer::kMaxSamples);
}

TEST_F(SoundRestoration, SoundFileIsAnObvTemporaryFileDeletedOnClose) {
    Archive bytes;
    bytes.sound(0, ramp(10, 0));
    archive.readEventArchive(bytes.source());
    const std::wstring first = archive.soundFilePath();
    EXPECT_EQ(platform::parentFolder(first), platform::temporaryFolder());
    const std::wstring name = platform::fileName(first);
    EXPECT_EQ(name.substr(0, 3), L"obv");
    EXPECT_EQ(name.substr(name.size() - 4), L".tmp");
    EXPECT_TRUE(platform::isFile(first));

    archive.readEventArchive(bytes.source());
    EXPECT_FALSE(platform::isFile(first));  // every read begins by closing
    const std::wstring second = archive.soundFilePath();
    EXPECT_TRUE(platform::isFile(second));
    archive.close();
    EXPECT_FALSE(platform::isFile(second));
    EXPECT_TRUE(archive.soundFilePath().empty());
}

TEST_F(SoundRestoration, WithoutATemporaryFileTheRecordingOpensSilentlyAfterAWarning) {
    Archive bytes;
    bytes.sound(0, ramp(10, 0)).leadIn(0).picture(1000, crafted::kDay);
    warnings.clear();
    setSoundWarningHandler(collectWarning);
    {
        const TemporaryFolderOverride nowhere(toUtf8(platform::temporaryFolder()) + "/orvelle-no-such-folder");
        archive.readEventArchive(bytes.source());
    }
    setSoundWarningHandler(nullptr);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0], loadText(5501));
    EXPECT_EQ(archive.frameCount(), 1);
    EXPECT_EQ(archive.soundDataBytes(), 0);
}

}  // namespace
