#include <gtest/gtest.h>

#include <cstdint>

#include "platform/LocalTime.h"
#include "recording/FrameRecord.h"
#include "recording/RecorderFields.h"
#include "recording/RecordingHeader.h"
#include "tools/samplewriter/RecorderBlocks.h"

namespace {

namespace sw = samplewriter;

std::int64_t localTimeValue(const CalendarTime& time) {
    std::int64_t value = 0;
    EXPECT_TRUE(platform::localToTimeValue(time, value));
    return value;
}

TEST(RecorderFields, PackedDecimalTakesNibblesAboveNineIntoTheSum) {
    const std::uint8_t digits[] = {0x12, 0x34, 0x56, 0x78};
    EXPECT_EQ(recorder::bcdValue(digits, 4), 12345678);
    const std::uint8_t garbage[] = {0xFF, 0xA0};
    EXPECT_EQ(recorder::bcdValue(garbage, 2), 165 * 100 + 100);
}

TEST(RecorderFields, PictureGCarriesItsSignInTheTopDigit) {
    const std::uint8_t minusQuarter[] = {0x82, 0x50};
    const std::uint8_t eightIsZero[] = {0x80, 0x00};
    const std::uint8_t plusQuarter[] = {0x02, 0x50};
    const std::uint8_t highestPositive[] = {0x79, 0x99};
    EXPECT_DOUBLE_EQ(recorder::pictureG(minusQuarter), -0.25);
    EXPECT_DOUBLE_EQ(recorder::pictureG(eightIsZero), 0.0);
    EXPECT_DOUBLE_EQ(recorder::pictureG(plusQuarter), 0.25);
    EXPECT_DOUBLE_EQ(recorder::pictureG(highestPositive), 7.999);
}

TEST(RecorderFields, HeaderGIsZeroForNoReadingAndClampedOtherwise) {
    EXPECT_DOUBLE_EQ(recorder::headerG(0), 0.0);
    EXPECT_DOUBLE_EQ(recorder::headerG(100), (215 - 512) * 0.01468);
    EXPECT_DOUBLE_EQ(recorder::headerG(512), 0.0);
    EXPECT_DOUBLE_EQ(recorder::headerG(60000), (808 - 512) * 0.01468);
}

TEST(RecorderFields, DateTimeIsLocalTimeThatSurvivesTheRoundTrip) {
    for (const CalendarTime& time : {CalendarTime{2009, 6, 15, 14, 30, 12}, CalendarTime{2099, 12, 31, 23, 59, 59}}) {
        EXPECT_EQ(recorder::dateTimeValue(sw::encodeDateTime(time).data()), localTimeValue(time));
    }
    // Impossible fields, which the system would move to another day, give no time.
    for (const CalendarTime& time :
         {CalendarTime{2009, 2, 30, 12, 0, 0}, CalendarTime{2009, 13, 1, 0, 0, 0}, CalendarTime{2009, 6, 15, 24, 0, 0},
          CalendarTime{2009, 6, 15, 12, 60, 0}, CalendarTime{2009, 0, 0, 0, 0, 0}}) {
        EXPECT_EQ(recorder::dateTimeValue(sw::encodeDateTime(time).data()), 0)
            << time.year << "-" << time.month << "-" << time.day << " " << time.hour << ":" << time.minute;
    }
    const std::uint8_t garbage[] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(recorder::dateTimeValue(garbage), 0);
}

TEST(RecordingHeader, KindBytesMapToTriggerKinds) {
    const std::pair<std::uint8_t, int> kinds[] = {{0x10, 1}, {0x20, 2}, {0x18, 11}, {0x19, 12}, {0x00, 0}, {0x11, 0}};
    for (const auto& [kindByte, triggerKind] : kinds) {
        sw::RecordingHeaderFields fields;
        fields.kindByte = kindByte;
        EXPECT_EQ(RecordingHeader::fromArchiveHeader(sw::buildRecordingHeader(fields).data()).triggerKind, triggerKind)
            << int{kindByte};
    }
}

TEST(RecordingHeader, FieldsOfAnArchiveHeader) {
    sw::RecordingHeaderFields fields;
    fields.recordedAt = CalendarTime{2010, 1, 2, 3, 4, 5};
    fields.eventStamp = 0xFEDCBA98u;
    fields.rawGx = 612;
    fields.rawGy = 100;
    fields.limitedDigits = 250;
    fields.extraByte = 0x5A;
    fields.indicator = true;
    const RecordingHeader header = RecordingHeader::fromArchiveHeader(sw::buildRecordingHeader(fields).data());
    EXPECT_EQ(header.recordedAt, localTimeValue(fields.recordedAt));
    EXPECT_EQ(header.eventStamp, 0xFEDCBA98u);
    EXPECT_DOUBLE_EQ(header.headerGx, 100 * 0.01468);
    EXPECT_DOUBLE_EQ(header.headerGy, (215 - 512) * 0.01468);
    EXPECT_EQ(header.limitedValue, 180);
    EXPECT_EQ(header.extraByte, 0x5A);
    EXPECT_EQ(header.flag, 1);
}

TEST(FrameRecord, PictureInformationFields) {
    sw::PictureInfoFields info;
    info.fileNumber = 200;
    info.fileIndex = 1234;
    info.time = CalendarTime{2009, 6, 15, 14, 30, 12};
    info.gxDigits = 8300;  // -0.3 G
    info.gyDigits = 400;   // +0.4 G
    info.limitedDigits = 95;
    info.valueP = 35000003;
    info.valueQ = 13900002;
    info.valueR = 0x01FE;
    info.indicator = true;
    FrameRecord record;
    record.readPictureInformation(sw::buildPictureInfo(info).data());
    EXPECT_EQ(record.fileNumber, 200);
    EXPECT_EQ(record.fileIndex, 1234);
    EXPECT_EQ(record.time, localTimeValue(info.time));
    EXPECT_NEAR(record.gx, -0.3, 1e-12);
    EXPECT_NEAR(record.gy, 0.4, 1e-12);
    EXPECT_NEAR(record.g, 0.5, 1e-12);
    EXPECT_EQ(record.limitedValue, 95);
    EXPECT_EQ(record.valueP, 35000003);
    EXPECT_EQ(record.valueQ, 13900002);
    EXPECT_EQ(record.valueR, 0x01FE);
    EXPECT_EQ(record.valueS, 0xFE);
    EXPECT_TRUE(record.flag);
}

}  // namespace
