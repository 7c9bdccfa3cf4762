// Exports judged by an outside reader (ffprobe/ffmpeg): what players see must
// be the recorder's own pictures and the restored sound, frame for frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "OutsideReader.h"
#include "app/ModelCode.h"
#include "app/Texts.h"
#include "export/EvidenceExport.h"
#include "export/ExportException.h"
#include "export/ExportProgress.h"
#include "export/Sha256.h"
#include "platform/File.h"
#include "platform/FileSystem.h"
#include "platform/Utf8.h"
#include "recording/PictureTag.h"
#include "recording/VideoArchive.h"
#include "support/ScratchFolder.h"
#include "tools/samplewriter/SampleArchive.h"
#include "tools/samplewriter/SampleCard.h"

namespace {

namespace sw = samplewriter;
using Bytes = std::vector<std::uint8_t>;

constexpr int kCannotWriteFolder = 5540;
constexpr int kNameTaken = 5541;

Bytes fileBytes(const std::wstring& path) {
    File file;
    if (!file.open(path, File::Mode::Read) || file.size() <= 0) return {};
    Bytes bytes(static_cast<std::size_t>(file.size()));
    bytes.resize(file.read(bytes.data(), bytes.size()));
    return bytes;
}

std::string hashOf(const Bytes& bytes) {
    Sha256 sum;
    sum.update(bytes.data(), bytes.size());
    return Sha256::toHex(sum.finish());
}

// What the archive reader makes of a recording file: the restored picture of
// each slot (by checksum) and the restored sound.
struct ReadRecording {
    std::vector<std::string> pictures;
    Bytes sound;
};

ReadRecording readRecording(const std::wstring& path, bool event) {
    VideoArchive archive;
    event ? archive.readEventArchive(path) : archive.readChapterArchive(path);
    const Bytes file = fileBytes(path);
    ReadRecording recording;
    for (int slot = 0; slot < archive.frameCount(); ++slot) {
        const FrameRecord& record = *archive.record(slot);
        Bytes picture(file.begin() + record.payloadOffset, file.begin() + record.payloadOffset + record.payloadSize);
        std::copy(pictureTag::kJpegStart.begin(), pictureTag::kJpegStart.end(), picture.begin());
        recording.pictures.push_back(hashOf(picture));
    }
    const Bytes wave = fileBytes(archive.soundFilePath());
    recording.sound.assign(wave.begin() + 44, wave.end());
    return recording;
}

// Video memory as the export lays it out: chapters one after another, each
// chapter's sound padded with silence or cut to its frames at 10 per second.
ReadRecording readVideoMemory(const std::vector<std::wstring>& chapters) {
    ReadRecording whole;
    std::int64_t frames = 0;
    for (const std::wstring& chapter : chapters) {
        ReadRecording part = readRecording(chapter, false);
        const std::int64_t start = frames * 11025 / 10;
        frames += static_cast<std::int64_t>(part.pictures.size());
        part.sound.resize(static_cast<std::size_t>(frames * 11025 / 10 - start), 0x80);
        whole.pictures.insert(whole.pictures.end(), part.pictures.begin(), part.pictures.end());
        whole.sound.insert(whole.sound.end(), part.sound.begin(), part.sound.end());
    }
    return whole;
}

class StopAfter : public ExportProgress {
public:
    explicit StopAfter(std::int64_t frames) : frames_(frames) {}
    bool keepGoing(std::int64_t done, std::int64_t) override { return done < frames_; }

private:
    std::int64_t frames_;
};

class ExportJudge : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        loadModelCode();
        card_ = new ScratchFolder(L"excard");
        sw::SampleCardOptions options;
        options.eventFrames = 90;
        options.eventWidth = 160;
        options.eventHeight = 120;
        options.chapterWidth = 160;
        options.chapterHeight = 120;
        options.oneShotCount = 5;
        contents_ = new sw::SampleCardContents;
        ASSERT_TRUE(sw::writeSampleCard(card_->path(), options, contents_));
    }
    static void TearDownTestSuite() {
        delete contents_;
        delete card_;
    }

    std::string outputPath(const ExportResult& result, std::size_t file) const {
        return toUtf8(platform::joinPath(result.folder, result.files.at(file)));
    }

    static ScratchFolder* card_;
    static sw::SampleCardContents* contents_;
    ScratchFolder out_{L"exout"};
};

ScratchFolder* ExportJudge::card_ = nullptr;
sw::SampleCardContents* ExportJudge::contents_ = nullptr;

TEST_F(ExportJudge, TheOutsideReaderIsInstalled) {
    EXPECT_EQ(outside::run("ffprobe -version >/dev/null 2>&1").status, 0) << "tools/setup.sh installs ffmpeg";
}

TEST_F(ExportJudge, EventPlaysElsewhereWithTheRecordersOwnPicturesAndSound) {
    const std::wstring source = contents_->eventFolders.at(0);
    const ExportResult result = EvidenceExport::run(source, out_.path(), {}, nullptr);
    ASSERT_EQ(result.files.size(), 4u);
    const std::string avi = outputPath(result, 0);
    const ReadRecording expected = readRecording(platform::joinPath(source, L"Video.dvt"), true);

    auto video = outside::probeStream(avi, "v:0");
    EXPECT_EQ(video["codec_name"], "mjpeg");
    EXPECT_EQ(video["codec_tag_string"], "MJPG");
    EXPECT_EQ(video["width"], "160");
    EXPECT_EQ(video["height"], "120");
    EXPECT_EQ(video["r_frame_rate"], "30/1");
    EXPECT_EQ(video["nb_read_frames"], std::to_string(expected.pictures.size()));
    EXPECT_EQ(video["duration"], "3.000000");
    auto sound = outside::probeStream(avi, "a:0");
    EXPECT_EQ(sound["codec_name"], "pcm_u8");
    EXPECT_EQ(sound["sample_rate"], "11025");
    EXPECT_EQ(sound["channels"], "1");

    EXPECT_EQ(outside::videoPacketHashes(avi), expected.pictures);
    EXPECT_EQ(outside::soundHash(avi), hashOf(expected.sound));
    EXPECT_EQ(outside::decodeErrors(avi), "");
    EXPECT_EQ(result.substitutedFrames, 0);
}

TEST_F(ExportJudge, ManifestChecksumsAreThoseOfTheFilesAndTheSource) {
    const std::wstring source = contents_->eventFolders.at(1);
    const ExportResult result = EvidenceExport::run(source, out_.path(), {}, nullptr);
    ASSERT_EQ(result.files.back(), L"manifest.json");
    const Bytes manifestBytes = fileBytes(platform::joinPath(result.folder, L"manifest.json"));
    const std::string manifest(manifestBytes.begin(), manifestBytes.end());
    for (std::size_t i = 0; i + 1 < result.files.size(); ++i) {
        const std::string path = outputPath(result, i);
        const std::string entry = "{\"name\":\"" + toUtf8(result.files[i]) + "\",\"size\":" +
                                  std::to_string(fileBytes(fromUtf8(path)).size()) + ",\"sha256\":\"" +
                                  outside::sha256sum(path) + "\"}";
        EXPECT_NE(manifest.find(entry), std::string::npos) << entry << "\n" << manifest;
    }
    const std::string archive = toUtf8(platform::joinPath(source, L"Video.dvt"));
    EXPECT_NE(manifest.find("\"path\":\"EVENT/" + toUtf8(platform::fileName(source)) + "/Video.dvt\""),
              std::string::npos);
    EXPECT_NE(manifest.find("\"sha256\":\"" + outside::sha256sum(archive) + "\""), std::string::npos);
}

TEST_F(ExportJudge, VideoMemoryRunsThroughItsChaptersWithSoundInStep) {
    const ExportResult result = EvidenceExport::run(contents_->videoFolder, out_.path(), {}, nullptr);
    const std::string avi = outputPath(result, 0);
    const ReadRecording expected = readVideoMemory(contents_->chapters);
    ASSERT_EQ(expected.pictures.size(), 1350u);

    auto video = outside::probeStream(avi, "v:0");
    EXPECT_EQ(video["r_frame_rate"], "10/1");
    EXPECT_EQ(video["nb_read_frames"], "1350");
    EXPECT_EQ(video["duration"], "135.000000");
    EXPECT_EQ(result.soundBytes, 1350 * 11025 / 10);  // sound length = picture duration
    EXPECT_EQ(outside::videoPacketHashes(avi), expected.pictures);
    EXPECT_EQ(outside::soundHash(avi), hashOf(expected.sound));
    EXPECT_EQ(outside::decodeErrors(avi), "");
}

TEST_F(ExportJudge, PartAcrossAChapterBoundary) {
    ExportRange range;
    range.hasFrom = range.hasTo = true;
    range.from = 55.0;
    range.to = 65.0;
    const ExportResult result = EvidenceExport::run(contents_->videoFolder, out_.path(), range, nullptr);
    const std::string avi = outputPath(result, 0);
    const ReadRecording whole = readVideoMemory(contents_->chapters);

    EXPECT_EQ(outside::probeStream(avi, "v:0")["nb_read_frames"], "100");
    EXPECT_EQ(outside::videoPacketHashes(avi),
              std::vector<std::string>(whole.pictures.begin() + 550, whole.pictures.begin() + 650));
    const Bytes part(whole.sound.begin() + 550 * 11025 / 10, whole.sound.begin() + 650 * 11025 / 10);
    EXPECT_EQ(outside::soundHash(avi), hashOf(part));
}

// A small RIFF limit stands in for the 1 GiB one, so that the extension chunks
// and their indexes are exercised without writing gigabytes.
TEST_F(ExportJudge, BeyondTheRiffLimitTheVideoGoesOnInExtensions) {
    const ExportResult result =
        EvidenceExport::run(contents_->videoFolder, out_.path(), {}, nullptr, std::int64_t{512} * 1024);
    const std::string avi = outputPath(result, 0);
    const Bytes bytes = fileBytes(fromUtf8(avi));
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_NE(text.find("AVIX"), std::string::npos);
    EXPECT_NE(text.find("indx"), std::string::npos);
    const ReadRecording expected = readVideoMemory(contents_->chapters);
    EXPECT_EQ(outside::probeStream(avi, "v:0")["nb_read_frames"], "1350");
    EXPECT_EQ(outside::videoPacketHashes(avi), expected.pictures);
    EXPECT_EQ(outside::soundHash(avi), hashOf(expected.sound));
    EXPECT_EQ(outside::decodeErrors(avi), "");
}

// A picture with a foreign tag, garbage between blocks and a cut-off end: the
// export holds what the viewer shows (the picture before stands in) and says
// how many frames it substituted.
TEST_F(ExportJudge, DamagedArchiveExportsWhatTheViewerShows) {
    sw::ArchiveSetup setup;
    setup.frameCount = 60;
    setup.eventFrame = 30;
    setup.width = 160;
    setup.height = 120;
    sw::ArchiveLayout layout;
    Bytes bytes = sw::buildArchive(setup, &layout);
    for (const sw::BlockPlacement& block : layout.blocks) {
        if (block.frame == 10) bytes[block.payloadOffset] ^= 0x40;  // model code no longer the viewer's
    }
    const auto middle = std::find_if(layout.blocks.begin(), layout.blocks.end(),
                                     [](const sw::BlockPlacement& block) { return block.frame == 40; });
    bytes.insert(bytes.begin() + middle->headerOffset, 3000, 0x5A);
    bytes.resize(bytes.size() - 700);
    const ScratchFolder damaged(L"exdmg");
    const std::wstring archive = damaged.file(L"Video.dvt");
    ASSERT_TRUE(sw::writeBytes(archive, bytes));

    const ExportResult result = EvidenceExport::run(archive, out_.path(), {}, nullptr);
    const std::string avi = outputPath(result, 0);
    std::vector<std::string> expected = readRecording(archive, true).pictures;
    expected[10] = expected[9];
    EXPECT_EQ(result.substitutedFrames, 1);
    EXPECT_EQ(outside::videoPacketHashes(avi), expected);
    EXPECT_EQ(outside::decodeErrors(avi), "");
}

TEST_F(ExportJudge, UnwritableOutputFolderIsNamedAndNothingIsLeft) {
    ASSERT_TRUE(sw::writeBytes(out_.file(L"blocker"), Bytes{1, 2, 3}));
    const std::wstring folder = platform::joinPath(out_.file(L"blocker"), L"inside");
    try {
        EvidenceExport::run(contents_->eventFolders.at(0), folder, {}, nullptr);
        FAIL() << "exported into a folder below a file";
    } catch (const ExportException& failure) {
        EXPECT_EQ(failure.path(), folder);
        EXPECT_EQ(failure.message(), loadText(kCannotWriteFolder));
    }
    EXPECT_EQ(sortedNamesIn(out_.path()), std::vector<std::wstring>{L"blocker"});
}

TEST_F(ExportJudge, CancelledExportLeavesNothingNotEvenTheFolderItMade) {
    const std::wstring folder = out_.file(L"new");
    StopAfter stop(5);
    EXPECT_THROW(EvidenceExport::run(contents_->videoFolder, folder, {}, &stop), ExportCancelled);
    EXPECT_FALSE(platform::isFolder(folder));
    EXPECT_TRUE(sortedNamesIn(out_.path()).empty());
}

TEST_F(ExportJudge, TakenNamesAreNeverOverwritten) {
    const ExportResult first = EvidenceExport::run(contents_->eventFolders.at(0), out_.path(), {}, nullptr);
    const std::string before = outside::sha256sum(outputPath(first, 0));
    try {
        EvidenceExport::run(contents_->eventFolders.at(0), out_.path(), {}, nullptr);
        FAIL() << "a second export replaced the first";
    } catch (const ExportException& failure) {
        EXPECT_EQ(failure.message(), loadText(kNameTaken));
    }
    EXPECT_EQ(sortedNamesIn(out_.path()).size(), first.files.size());
    EXPECT_EQ(outside::sha256sum(outputPath(first, 0)), before);
}

TEST_F(ExportJudge, OneShotPicturesBecomeTheirJpegFilesNamedByTime) {
    const ExportResult result = EvidenceExport::run(contents_->oneShotFolder, out_.path(), {}, nullptr);
    ASSERT_EQ(result.files.size(), contents_->oneShots.size() + 1);
    for (std::size_t i = 0; i + 1 < result.files.size(); ++i) {
        const std::wstring& name = result.files[i];
        EXPECT_TRUE(std::regex_match(toUtf8(name), std::regex("([0-9]{8}_[0-9]{6}(_[0-9]+)?|Pic[0-9]+)\\.jpg")))
            << toUtf8(name);
        EXPECT_EQ(outside::decodeErrors(outputPath(result, i)), "") << toUtf8(name);
    }
    std::vector<std::string> exported;
    for (std::size_t i = 0; i + 1 < result.files.size(); ++i) exported.push_back(outside::sha256sum(outputPath(result, i)));
    std::vector<std::string> stored;
    for (const std::wstring& picture : contents_->oneShots) {
        VideoArchive archive;
        archive.readOneShotFile(picture);
        const FrameRecord& record = *archive.record(0);
        const Bytes file = fileBytes(picture);
        Bytes jpeg(file.begin() + record.payloadOffset, file.begin() + record.payloadOffset + record.payloadSize);
        std::copy(pictureTag::kJpegStart.begin(), pictureTag::kJpegStart.end(), jpeg.begin());
        stored.push_back(hashOf(jpeg));
    }
    std::sort(exported.begin(), exported.end());
    std::sort(stored.begin(), stored.end());
    EXPECT_EQ(exported, stored);
}

}  // namespace
