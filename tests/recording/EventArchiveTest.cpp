#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "app/Exception.h"
#include "app/Texts.h"
#include "media/Image.h"
#include "media/JpegDecoder.h"
#include "platform/FileSystem.h"
#include "recording/CraftedArchive.h"
#include "recording/VideoArchive.h"
#include "tools/samplewriter/SampleArchive.h"

namespace {

namespace sw = samplewriter;
using crafted::Archive;
using crafted::kDay;
using crafted::secondsAfter;

std::int64_t timeValue(const CalendarTime& time) {
    std::int64_t value = 0;
    platform::localToTimeValue(time, value);
    return value;
}

sw::ArchiveSetup smallEvent(int frames, int eventFrame) {
    sw::ArchiveSetup setup;
    setup.frameCount = frames;
    setup.eventFrame = eventFrame;
    setup.width = 32;
    setup.height = 16;
    setup.jpegQuality = 80;
    return setup;
}

class EventArchive : public ::testing::Test {
protected:
    void SetUp() override { crafted::useShippedModelCode(); }

    void read(const sw::Bytes& bytes) { archive.readEventArchive(std::make_unique<MemorySource>(bytes)); }
    void read(const Archive& crafted) { archive.readEventArchive(crafted.source()); }

    VideoArchive archive;
};

TEST_F(EventArchive, SampleRecordingGivesOneSlotPerFrameAndTheEventFrame) {
    const sw::ArchiveSetup setup = smallEvent(90, 45);
    read(sw::buildArchive(setup));

    ASSERT_EQ(archive.frameCount(), 90);
    EXPECT_EQ(archive.referenceFrame(), 45);
    EXPECT_EQ(archive.header().triggerKind, 1);
    EXPECT_EQ(archive.header().eventStamp, sw::eventStampOf(setup));
    EXPECT_EQ(archive.recordedAtCopy(), timeValue(setup.recordedAt));
    EXPECT_EQ(archive.firstFrameTime(), timeValue(sw::frameTime(setup, 0)));
    EXPECT_EQ(archive.lastFrameTime(), timeValue(sw::frameTime(setup, 89)));
    for (int frame = 0; frame < 90; ++frame) {
        const FrameRecord* record = archive.record(frame);
        ASSERT_NE(record, nullptr) << frame;
        EXPECT_EQ(static_cast<std::uint32_t>(record->stamp), sw::frameStamp(setup, frame)) << frame;
        EXPECT_EQ(record->fileIndex, setup.firstFileIndex + frame);
        EXPECT_EQ(record->time, timeValue(sw::frameTime(setup, frame)));
        EXPECT_EQ(record->blockType, 0x55);
    }
    EXPECT_EQ(archive.record(-1), nullptr);
    EXPECT_EQ(archive.record(90), nullptr);
}

TEST_F(EventArchive, DecodedFrameIsTheStoredPictureWithItsStartRestored) {
    const sw::ArchiveSetup setup = smallEvent(30, 10);
    read(sw::buildArchive(setup));

    sw::Bytes jpeg = sw::framePicturePayload(setup, 7);
    std::copy(sw::kRecorderJpegStart.begin(), sw::kRecorderJpegStart.end(), jpeg.begin());
    const std::unique_ptr<Image> expected = decodeJpeg(jpeg.data(), jpeg.size());
    const std::unique_ptr<Image> decoded = archive.decodeFrame(7);
    ASSERT_NE(expected, nullptr);
    ASSERT_NE(decoded, nullptr);
    ASSERT_EQ(decoded->width(), 32);
    ASSERT_EQ(decoded->height(), 16);
    EXPECT_EQ(std::memcmp(decoded->pixels(), expected->pixels(), static_cast<std::size_t>(expected->size())), 0);

    EXPECT_EQ(archive.decodeFrame(-1), nullptr);
    EXPECT_EQ(archive.decodeFrame(30), nullptr);
    archive.close();
    EXPECT_EQ(archive.decodeFrame(7), nullptr);
}

TEST_F(EventArchive, DetectionJustBeforeTwelveSecondsIsPaddedOntoSlot360) {
    read(sw::buildArchive(smallEvent(600, 358)));

    EXPECT_EQ(archive.frameCount(), 602);
    EXPECT_EQ(archive.referenceFrame(), 360);
    const FrameRecord* first = archive.record(2);
    ASSERT_NE(first, nullptr);
    for (int slot : {0, 1}) {
        ASSERT_NE(archive.record(slot), nullptr);
        EXPECT_EQ(archive.record(slot)->stamp, first->stamp);
        EXPECT_EQ(archive.record(slot)->payloadOffset, first->payloadOffset);
    }
    EXPECT_EQ(archive.record(360)->fileIndex, 1 + 358);
}

TEST_F(EventArchive, PadOnlyForTheThreeSlotsBelow360AndOnlyWhenItFits) {
    struct Case {
        int frames;
        int eventFrame;
        int frameCount;
        int referenceFrame;
    };
    // 30 frames after the event are enough to tell the cases apart.
    for (const Case& c : {Case{390, 357, 393, 360}, Case{390, 359, 391, 360}, Case{390, 356, 390, 356},
                          Case{390, 360, 390, 360}, Case{898, 358, 898, 358}}) {
        read(sw::buildArchive(smallEvent(c.frames, c.eventFrame)));
        EXPECT_EQ(archive.frameCount(), c.frameCount) << c.frames << " frames, event at " << c.eventFrame;
        EXPECT_EQ(archive.referenceFrame(), c.referenceFrame) << c.frames << " frames, event at " << c.eventFrame;
    }
}

TEST_F(EventArchive, DetectionThatTheFramesDoNotBearOutIsDropped) {
    sw::ArchiveSetup noStamp = smallEvent(60, 30);
    noStamp.eventStamp = 0;
    sw::ArchiveSetup stampAfterTheEnd = smallEvent(60, 30);
    stampAfterTheEnd.eventStamp = sw::frameStamp(stampAfterTheEnd, 59) + 1;
    sw::ArchiveSetup headerTimeOutside = smallEvent(60, 30);
    headerTimeOutside.headerTime = CalendarTime{2009, 6, 15, 15, 0, 0};
    sw::ArchiveSetup headerTimeInvalid = smallEvent(60, 30);
    headerTimeInvalid.headerTime = CalendarTime{2009, 2, 30, 14, 30, 12};
    for (const sw::ArchiveSetup& setup : {noStamp, stampAfterTheEnd, headerTimeOutside, headerTimeInvalid}) {
        read(sw::buildArchive(setup));
        EXPECT_EQ(archive.header().triggerKind, 0);
        EXPECT_EQ(archive.referenceFrame(), -1);
        EXPECT_EQ(archive.frameCount(), 60);
    }
}

TEST_F(EventArchive, ManualEventsHaveADetectionOtherKindsNone) {
    for (const auto& [kindByte, referenceFrame] :
         {std::pair{sw::kKindManualEvent, 20}, std::pair{sw::kKindVideo, -1}}) {
        sw::ArchiveSetup setup = smallEvent(60, 20);
        setup.kindByte = kindByte;
        read(sw::buildArchive(setup));
        EXPECT_EQ(archive.referenceFrame(), referenceFrame) << int{kindByte};
    }
}

TEST_F(EventArchive, ReferenceFrameWithoutTimeIsDropped) {
    Archive bytes(sw::kKindAutomaticEvent, 1034);
    bytes.leadIn(0)
        .picture(1000, kDay)
        .picture(1034, CalendarTime{2009, 2, 30, 0, 0, 0})
        .picture(1067, secondsAfter(kDay, 1));
    read(bytes);
    EXPECT_EQ(archive.frameCount(), 3);
    EXPECT_EQ(archive.referenceFrame(), -1);
    EXPECT_EQ(archive.header().triggerKind, 0);
}

TEST_F(EventArchive, NearestStampWinsAndATieGoesToTheLowerSlot) {
    Archive bytes(sw::kKindAutomaticEvent, 1051);
    bytes.leadIn(0).picture(1000, kDay).picture(1034, kDay).picture(1068, kDay).picture(1101, kDay);
    read(bytes);
    EXPECT_EQ(archive.referenceFrame(), 1);  // 1034 and 1068 are both 17 ms away
}

TEST_F(EventArchive, ForeignModelCodeOnTheLeadInPictureRefusesTheArchive) {
    read(sw::buildArchive(smallEvent(30, 10)));
    ASSERT_EQ(archive.frameCount(), 30);
    const std::wstring previousSound = archive.soundFilePath();

    sw::ArchiveSetup foreign = smallEvent(30, 10);
    foreign.modelMajor = 3;
    foreign.modelMinor = 18;
    try {
        read(sw::buildArchive(foreign));
        FAIL() << "no exception";
    } catch (const VideoArchiveException& failure) {
        EXPECT_EQ(failure.message(), loadText(5510));
    }
    EXPECT_EQ(archive.frameCount(), 0);
    EXPECT_EQ(archive.referenceFrame(), -1);
    EXPECT_EQ(archive.decodeFrame(0), nullptr);
    EXPECT_TRUE(archive.soundFilePath().empty());
    EXPECT_FALSE(platform::isFile(previousSound));
}

TEST_F(EventArchive, TwoPicturesInOneSlotKeepTheFirstInTheFile) {
    Archive bytes;
    bytes.leadIn(0).picture(1000, kDay).picture(1040, secondsAfter(kDay, 1)).picture(1020, secondsAfter(kDay, 2));
    read(bytes);
    ASSERT_EQ(archive.frameCount(), 2);
    EXPECT_EQ(archive.record(0)->stamp, 1000);
    EXPECT_EQ(archive.record(1)->stamp, 1040);
    EXPECT_EQ(archive.record(1)->time, timeValue(secondsAfter(kDay, 1)));
}

TEST_F(EventArchive, PicturesThirtySecondsAfterTheFirstAreDropped) {
    Archive bytes;
    bytes.leadIn(0).picture(1000, kDay).picture(1000 + 29'990, kDay).picture(1000 + 30'040, kDay);
    read(bytes);
    EXPECT_EQ(archive.frameCount(), 900);
    EXPECT_EQ(archive.record(899)->stamp, 1000 + 29'990);
}

TEST_F(EventArchive, GapsRepeatThePreviousPictureAndLeadingSlotsTheFirst) {
    Archive bytes;
    // Stamps fall in slots 5, 2 and 9 (walk order is not stamp order).
    bytes.leadIn(0)
        .picture(1000 + 5 * 34, secondsAfter(kDay, 5))
        .picture(1000 + 2 * 34, secondsAfter(kDay, 2))
        .picture(1000 + 9 * 34, secondsAfter(kDay, 9))
        .picture(1000, CalendarTime{2009, 2, 30, 0, 0, 0});
    read(bytes);
    ASSERT_EQ(archive.frameCount(), 10);
    const int expectedSource[] = {0, 0, 2, 2, 2, 5, 5, 5, 5, 9};
    for (int slot = 0; slot < 10; ++slot) {
        ASSERT_NE(archive.record(slot), nullptr) << slot;
        EXPECT_EQ(archive.record(slot)->stamp, 1000 + expectedSource[slot] * 34) << slot;
    }
    // Slot 0 has no time: the first time is slot 2's.
    EXPECT_EQ(archive.firstFrameTime(), timeValue(secondsAfter(kDay, 2)));
    EXPECT_EQ(archive.lastFrameTime(), timeValue(secondsAfter(kDay, 9)));
}

TEST_F(EventArchive, IndicatorComesFromTheHeaderOrAnyPicture) {
    sw::ArchiveSetup headerFlag = smallEvent(30, 10);
    headerFlag.indicator = true;
    sw::ArchiveSetup pictureFlag = smallEvent(30, 10);
    pictureFlag.indicatorFrame = 20;
    for (const sw::ArchiveSetup& setup : {smallEvent(30, 10), headerFlag, pictureFlag}) {
        read(sw::buildArchive(setup));
        EXPECT_EQ(archive.indicator(), setup.indicator || setup.indicatorFrame >= 0 ? 1 : 0);
    }
}

TEST_F(EventArchive, MissingFileShortHeaderOrShortDirectoryPrefixRefuseTheArchive) {
    try {
        archive.readEventArchive(L"/no/such/folder/Video.dvt");
        FAIL() << "no exception";
    } catch (const VideoArchiveException& failure) {
        EXPECT_EQ(failure.message(), loadText(5510));
    }
    const sw::Bytes whole = Archive().bytes;  // header and prefix, no blocks
    for (std::size_t size : {std::size_t{0}, std::size_t{31}, std::size_t{32}, std::size_t{47}}) {
        EXPECT_THROW(read(sw::Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size))),
                     VideoArchiveException)
            << size;
        EXPECT_EQ(archive.frameCount(), 0);
    }
    read(whole);
    EXPECT_EQ(archive.frameCount(), 0);
}

}  // namespace
