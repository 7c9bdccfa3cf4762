// The export's parts that need no outside reader: which frames a part takes,
// the side files' text, the JPEG size walk and the all-or-nothing output.
#include <gtest/gtest.h>

#include <vector>

#include "export/ExportPlan.h"
#include "export/GTableWriter.h"
#include "export/JpegFrameSize.h"
#include "export/OutputFiles.h"
#include "export/SubtitleWriter.h"
#include "export/TimeText.h"
#include "platform/File.h"
#include "platform/FileSystem.h"
#include "platform/LocalTime.h"
#include "support/ScratchFolder.h"
#include "tools/samplewriter/RecorderJpeg.h"
#include "tools/samplewriter/RgbFrame.h"

namespace {

std::int64_t timeOf(const CalendarTime& local) {
    std::int64_t value = 0;
    EXPECT_TRUE(platform::localToTimeValue(local, value));
    return value;
}

ExportRange rangeOf(double from, double to) {
    ExportRange range;
    range.hasFrom = from >= 0;
    range.hasTo = to >= 0;
    range.from = from;
    range.to = to;
    return range;
}

TEST(ExportPlan, PartsTakeTheFramesStartingInsideThem) {
    std::int64_t first = -1;
    std::int64_t end = -1;
    EXPECT_TRUE(ExportPlan::framesOfRange(rangeOf(10, 20), 30, 900, first, end));
    EXPECT_EQ(first, 300);
    EXPECT_EQ(end, 600);
    EXPECT_TRUE(ExportPlan::framesOfRange(rangeOf(0.1, 0.35), 10, 1350, first, end));
    EXPECT_EQ(first, 1);  // 0.1 × 10 is a hair above 1 in binary
    EXPECT_EQ(end, 4);
    EXPECT_TRUE(ExportPlan::framesOfRange(rangeOf(25, 100), 30, 900, first, end));
    EXPECT_EQ(end, 900);  // a part running past the end stops there
    EXPECT_TRUE(ExportPlan::framesOfRange(rangeOf(-1, -1), 10, 1350, first, end));
    EXPECT_EQ(first, 0);
    EXPECT_EQ(end, 1350);
    EXPECT_FALSE(ExportPlan::framesOfRange(rangeOf(30, -1), 30, 900, first, end));  // nothing after the end
    EXPECT_FALSE(ExportPlan::framesOfRange(rangeOf(5, 5), 30, 900, first, end));
}

TEST(SideFiles, SubtitlesGiveEachRecordedSecondItsTimeAndHighestG) {
    const std::int64_t second = timeOf({2009, 6, 15, 14, 30, 12});
    SubtitleWriter subtitles(30);
    subtitles.addFrame(0, second, 0.10);
    subtitles.addFrame(1, second, 0.25);
    subtitles.addFrame(2, second + 1, 0.05);
    subtitles.addFrame(3, 0, 0.0);
    EXPECT_EQ(subtitles.finish(40),
              "1\r\n00:00:00,000 --> 00:00:00,066\r\n2009/06/15 14:30:12\r\n0.25 G\r\n\r\n"
              "2\r\n00:00:00,066 --> 00:00:00,100\r\n2009/06/15 14:30:13\r\n0.05 G\r\n\r\n"
              "3\r\n00:00:00,100 --> 00:00:01,333\r\n----/--/-- --:--:--\r\n0.00 G\r\n\r\n");
}

TEST(SideFiles, GTableRowsCarryTimeWithItsOffset) {
    const std::int64_t time = timeOf({2009, 1, 15, 8, 0, 0});
    int offset = 0;
    ASSERT_TRUE(platform::utcOffsetAt(time, offset));
    GTableWriter table(10);
    table.addFrame(7, time, -0.25, 0.0, 0.25);
    table.addFrame(8, 0, 0.0, 0.0, 0.0);
    EXPECT_EQ(table.text(), "frame,ms,local_time,gx,gy,g\r\n7,700,2009-01-15T08:00:00" + timeText::offset(offset) +
                                ",-0.250,0.000,0.250\r\n8,800,,0.000,0.000,0.000\r\n");
    EXPECT_EQ(timeText::offset(9 * 3600), "+09:00");
    EXPECT_EQ(timeText::offset(-(3 * 3600 + 1800)), "-03:30");
}

TEST(JpegFrameSize, FoundInARealStreamAndNeverPastTheEnd) {
    samplewriter::RgbFrame frame(48, 24);
    const std::vector<std::uint8_t> jpeg = samplewriter::encodeRecorderJpeg(frame, 80);
    int width = 0;
    int height = 0;
    ASSERT_TRUE(jpegFrameSize(jpeg.data(), jpeg.size(), width, height));
    EXPECT_EQ(width, 48);
    EXPECT_EQ(height, 24);
    for (std::size_t cut = 0; cut < 200 && cut < jpeg.size(); ++cut) {
        int w = 0;
        int h = 0;
        const std::vector<std::uint8_t> head(jpeg.begin(), jpeg.begin() + cut);
        if (jpegFrameSize(head.data(), head.size(), w, h)) EXPECT_EQ(w, 48);
    }
    const std::uint8_t bogusLength[] = {0xFF, 0xD8, 0xFF, 0xE0, 0xFF, 0xFF, 0x00};
    EXPECT_FALSE(jpegFrameSize(bogusLength, sizeof bogusLength, width, height));
}

TEST(OutputFiles, NothingIsLeftUnlessCommitted) {
    const ScratchFolder scratch(L"exof");
    const std::wstring folder = scratch.file(L"made");
    {
        OutputFiles output(folder);
        output.write(std::string("abc"), L"a.txt");
        File file;
        output.create(file);
        EXPECT_TRUE(platform::isFolder(folder));
    }
    EXPECT_FALSE(platform::isFolder(folder));
    {
        OutputFiles output(folder);
        output.write(std::string("abc"), L"a.txt");
        output.commit();
    }
    EXPECT_TRUE(platform::isFile(platform::joinPath(folder, L"a.txt")));
    std::vector<platform::FolderEntry> entries;
    ASSERT_TRUE(platform::listFolder(folder, entries));
    EXPECT_EQ(entries.size(), 1u);
}

}  // namespace
