#include <gtest/gtest.h>

#include "app/Exception.h"
#include "app/Texts.h"
#include "media/Image.h"
#include "platform/FileSystem.h"
#include "recording/CraftedArchive.h"
#include "recording/FileSource.h"
#include "recording/VideoArchive.h"
#include "support/ScratchFolder.h"
#include "tools/samplewriter/SampleArchive.h"

namespace {

namespace sw = samplewriter;

std::int64_t timeValue(const CalendarTime& time) {
    std::int64_t value = 0;
    platform::localToTimeValue(time, value);
    return value;
}

class OneShot : public ::testing::Test {
protected:
    void SetUp() override { crafted::useShippedModelCode(); }

    std::wstring write(const std::wstring& name, const sw::Bytes& bytes) {
        const std::wstring path = folder.file(name);
        EXPECT_TRUE(sw::writeBytes(path, bytes));
        return path;
    }

    static sw::OneShotSetup smallPicture(CalendarTime time, int width = 32) {
        sw::OneShotSetup setup;
        setup.time = time;
        setup.width = width;
        setup.height = 16;
        return setup;
    }

    ScratchFolder folder{L"orvelle-oneshot"};
    VideoArchive archive;
};

TEST_F(OneShot, PictureInformationStandsInForTheRecordingHeader) {
    sw::OneShotSetup setup = smallPicture(CalendarTime{2009, 6, 15, 9, 0, 0});
    setup.gxDigits = 8250;
    setup.gyDigits = 125;
    setup.indicator = true;
    setup.fileIndex = 42;
    const std::wstring path = write(L"A0001.dpc", sw::buildOneShotFile(setup));
    archive.readOneShotFile(path);

    ASSERT_EQ(archive.frameCount(), 1);
    const RecordingHeader& header = archive.header();
    EXPECT_EQ(header.triggerKind, 11);
    EXPECT_EQ(header.recordedAt, timeValue(setup.time));
    EXPECT_DOUBLE_EQ(header.headerGx, -0.25);
    EXPECT_DOUBLE_EQ(header.headerGy, 0.125);
    EXPECT_EQ(header.eventStamp, 0u);
    EXPECT_EQ(header.flag, 1);
    EXPECT_EQ(archive.indicator(), 1);
    const FrameRecord* record = archive.record(0);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->path, path);
    EXPECT_EQ(record->fileIndex, 42);
    EXPECT_EQ(record->payloadOffset, 64);
    const std::unique_ptr<Image> image = archive.decodeFrame(0);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width(), 32);
}

TEST_F(OneShot, PublishedTimesStayThoseOfTheLastEventRead) {
    sw::ArchiveSetup event;
    event.frameCount = 30;
    event.eventFrame = 10;
    event.width = 16;
    event.height = 16;
    archive.readEventArchive(std::make_unique<MemorySource>(sw::buildArchive(event)));
    const std::int64_t first = archive.firstFrameTime();
    const std::int64_t recordedAt = archive.recordedAtCopy();
    ASSERT_NE(first, 0);

    archive.readOneShotFile(write(L"B.dpc", sw::buildOneShotFile(smallPicture(CalendarTime{2011, 1, 1, 0, 0, 0}))));
    EXPECT_EQ(archive.firstFrameTime(), first);
    EXPECT_EQ(archive.recordedAtCopy(), recordedAt);
    EXPECT_TRUE(archive.soundFilePath().empty());
}

TEST_F(OneShot, MovedPictureAndShortFileAreReportedDifferently) {
    try {
        archive.readOneShotFile(folder.file(L"gone.dpc"));
        FAIL() << "no exception";
    } catch (const VideoArchiveException& failure) {
        EXPECT_EQ(failure.message(), loadText(5517));
    }

    const sw::Bytes whole = sw::buildOneShotFile(smallPicture(CalendarTime{2009, 6, 15, 9, 0, 0}));
    for (std::size_t size : {std::size_t{10}, std::size_t{64}, std::size_t{79}}) {
        const std::wstring path =
            write(L"short.dpc", sw::Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size)));
        try {
            archive.readOneShotFile(path);
            FAIL() << "no exception for " << size;
        } catch (const VideoArchiveException&) {
            FAIL() << "the short file is reported as the base failure type, " << size;
        } catch (const Exception& failure) {
            EXPECT_EQ(failure.message(), loadText(5510));
        }
        EXPECT_EQ(archive.frameCount(), 0);
        EXPECT_EQ(archive.decodeFrame(0), nullptr);
    }
}

TEST_F(OneShot, ForeignTagReadsButDoesNotDecode) {
    sw::OneShotSetup setup = smallPicture(CalendarTime{2009, 6, 15, 9, 0, 0});
    setup.modelMajor = 3;
    setup.modelMinor = 18;
    archive.readOneShotFile(write(L"C.dpc", sw::buildOneShotFile(setup)));
    EXPECT_EQ(archive.frameCount(), 1);
    EXPECT_EQ(archive.decodeFrame(0), nullptr);
}

// The folder scan reads entries one by one; each is opened again when its
// picture is wanted.
TEST_F(OneShot, ScannedEntriesAreOpenedOneByOne) {
    const std::wstring paths[] = {
        write(L"late.dpc", sw::buildOneShotFile(smallPicture(CalendarTime{2009, 6, 15, 10, 0, 0}, 48))),
        write(L"early.dpc", sw::buildOneShotFile(smallPicture(CalendarTime{2009, 6, 15, 9, 0, 0}, 64))),
    };
    for (int i = 0; i < 2; ++i) {
        std::unique_ptr<FileSource> source = FileSource::open(paths[i]);
        ASSERT_NE(source, nullptr);
        archive.readOneShotEntry(*source, paths[i], i);
    }
    archive.finishOneShotScan(2);
    ASSERT_EQ(archive.frameCount(), 2);
    EXPECT_EQ(archive.decodeFrame(0), nullptr);  // no file open yet
    for (int i = 0; i < 2; ++i) {
        archive.prepareOneShotEntry(i);
        const std::unique_ptr<Image> image = archive.decodeFrame(i);
        ASSERT_NE(image, nullptr) << i;
        EXPECT_EQ(image->width(), i == 0 ? 64 : 48) << i;  // ordered by time
    }
    for (int index : {2, -1}) {
        EXPECT_THROW(archive.prepareOneShotEntry(index), VideoArchiveException) << index;
        EXPECT_EQ(archive.decodeFrame(1), nullptr);  // the failed preparation closed the file
    }
    ASSERT_TRUE(platform::deleteFile(paths[1]));
    try {
        archive.prepareOneShotEntry(0);
        FAIL() << "no exception";
    } catch (const VideoArchiveException& failure) {
        EXPECT_EQ(failure.message(), loadText(5510));
    }
}

// Miniatures of a folder: the scan keeps each file it opened for the one
// decode of its picture, and lets it go then; a scan for anything else keeps
// none.
TEST_F(OneShot, FolderScanKeepsEachFileForOneDecode) {
    const std::wstring late =
        write(L"late.dpc", sw::buildOneShotFile(smallPicture(CalendarTime{2009, 6, 15, 10, 0, 0}, 48)));
    const std::wstring early =
        write(L"early.dpc", sw::buildOneShotFile(smallPicture(CalendarTime{2009, 6, 15, 9, 0, 0}, 64)));
    EXPECT_FALSE(archive.readOneShotFolder(folder.path(), true));
    ASSERT_EQ(archive.frameCount(), 2);
    ASSERT_TRUE(platform::deleteFile(early));

    const std::unique_ptr<Image> kept = archive.decodeOneShotEntryToFit(0, 8, 2);
    ASSERT_NE(kept, nullptr);                                      // read from the file the scan opened
    EXPECT_EQ(kept->width(), 8);                                   // 64 reduced to 1/8, the smallest that covers 8 x 4
    EXPECT_EQ(archive.decodeOneShotEntryToFit(0, 8, 4), nullptr);  // that file went with its decode
    for (int pass = 0; pass < 2; ++pass) {
        const std::unique_ptr<Image> image = archive.decodeOneShotEntryToFit(1, 0, 0);
        ASSERT_NE(image, nullptr) << pass;  // kept, then opened again
        EXPECT_EQ(image->width(), 48);
    }
    for (int index : {2, -1}) EXPECT_EQ(archive.decodeOneShotEntryToFit(index, 8, 4), nullptr) << index;

    EXPECT_FALSE(archive.readOneShotFolder(folder.path()));
    ASSERT_EQ(archive.frameCount(), 1);
    ASSERT_TRUE(platform::deleteFile(late));
    EXPECT_EQ(archive.decodeOneShotEntryToFit(0, 8, 4), nullptr);
}

}  // namespace
