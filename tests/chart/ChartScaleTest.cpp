// Where the G-sensor chart puts its scale, grid, seconds marks and lines.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "media/ChartScale.h"
#include "recording/IVideoInfo.h"

namespace {

// Frames with a G magnitude each; frames left out have no record.
class GValues : public IVideoInfo {
public:
    GValues(int frames, std::map<int, double> g) : frames_(frames) {
        for (const auto& [frame, value] : g) records_[frame].g = value;
    }
    std::wstring shortCode() const override { return L""; }
    std::wstring longCode() const override { return L""; }
    int triggerKind() const override { return 1; }
    int referenceFrame() const override { return -1; }
    const FrameRecord* referenceRecord() const override { return nullptr; }
    double headerGx() const override { return 0; }
    double headerGy() const override { return 0; }
    int frameCount() const override { return frames_; }
    const FrameRecord* frameRecord(int index) const override {
        const auto found = records_.find(index);
        return found == records_.end() ? nullptr : &found->second;
    }
    int pictureStep() const override { return 1; }
    bool informationMissing() const override { return false; }
    std::int64_t firstFrameTime() const override { return 0; }
    std::int64_t lastFrameTime() const override { return 0; }
    std::int64_t recordedAt() const override { return 0; }

private:
    int frames_;
    std::map<int, FrameRecord> records_;
};

std::vector<std::wstring> gridLabels(const ChartScale& scale) {
    std::vector<std::wstring> labels;
    for (int row = 0; row < ChartScale::gridRows; ++row) labels.push_back(scale.gridLabel(row));
    return labels;
}

// A plot as the chart lays it out in a window 866 pixels wide and 90 high.
ChartScale plot(int frames, int framesPerSecond) {
    return ChartScale(45, 13, 767, 54, frames, framesPerSecond);
}

// Digits 6 pixels wide, as in the chart's font.
int digitWidth(int second) {
    return 6 * static_cast<int>(std::to_wstring(second).size());
}

void expectLabelsApart(const std::vector<ChartScale::SecondsMark>& marks) {
    int lastRight = 0;
    for (const ChartScale::SecondsMark& mark : marks) {
        if (!mark.labelled) continue;
        EXPECT_GT(mark.labelLeft, lastRight) << "second " << mark.second;
        lastRight = mark.labelLeft + digitWidth(mark.second);
    }
}

}  // namespace

TEST(ChartScaleTest, TheScaleRoundsTheLargestGUpToHalvesAndShowsSmallReadingsAboveATenth) {
    ChartScale scale = plot(900, 30);
    scale.fitLargestG(0.8);
    EXPECT_EQ(scale.topValue(), 1.0);
    EXPECT_EQ(scale.bottomValue(), 0.0);
    EXPECT_FALSE(scale.clipsData());
    EXPECT_EQ(gridLabels(scale), (std::vector<std::wstring>{L"+1.00", L"+0.75", L"+0.50", L"+0.25", L"+0.00"}));

    for (double small : {0.0, 0.3, 0.5}) {
        scale.fitLargestG(small);
        EXPECT_EQ(gridLabels(scale), (std::vector<std::wstring>{L"+0.50", L"+0.40", L"+0.30", L"+0.20", L"+0.10"}))
            << small;
        EXPECT_TRUE(scale.clipsData());
    }

    scale.fitLargestG(0.51);
    EXPECT_EQ(scale.topValue(), 1.0);
    scale.fitLargestG(1.0);
    EXPECT_EQ(scale.topValue(), 1.0);
    scale.fitLargestG(1.01);
    EXPECT_EQ(scale.topValue(), 1.5);
    scale.fitLargestG(7.999);
    EXPECT_EQ(scale.topValue(), 8.0);
}

TEST(ChartScaleTest, TheScaleComesFromTheFramesThatHaveARecord) {
    ChartScale scale = plot(60, 30);
    const GValues peak(60, {{0, 0.2}, {31, 0.8}, {59, 0.1}});
    scale.fitValues(&peak);
    EXPECT_EQ(scale.topValue(), 1.0);

    const GValues quiet(60, {{3, 0.05}, {40, 0.45}});
    scale.fitValues(&quiet);
    EXPECT_EQ(scale.topValue(), 0.5);
    EXPECT_EQ(scale.bottomValue(), 0.1);

    scale.fitValues(nullptr);
    EXPECT_EQ(gridLabels(scale).front(), L"+0.50");
    EXPECT_EQ(gridLabels(scale).back(), L"+0.10");
}

TEST(ChartScaleTest, FramesSpanThePlotAndAOneFrameRecordingPutsTheFrameOnScreenAtTheRight) {
    const ChartScale event = plot(900, 30);
    EXPECT_EQ(event.frameX(0), 45);
    EXPECT_EQ(event.frameX(899), 767);
    EXPECT_EQ(event.currentFrameX(899), 767);
    EXPECT_EQ(event.currentFrameX(5000), 767);  // never beyond the plot
    EXPECT_EQ(event.currentFrameX(-3), 45);

    const ChartScale single = plot(1, 30);
    EXPECT_EQ(single.frameX(0), 45);          // data and event lines at the left edge
    EXPECT_EQ(single.currentFrameX(0), 767);  // the frame on screen at the right edge
}

TEST(ChartScaleTest, SecondsLabelsStepOverEnoughSecondsToNeverOverlap) {
    const ChartScale chapter = plot(600, 10);  // 722 wide: 12 pixels a second
    EXPECT_EQ(chapter.labelStep(12), 2);       // "60" and 2 pixels of gap need 14
    const std::vector<ChartScale::SecondsMark> marks = chapter.secondsMarks(digitWidth);
    ASSERT_EQ(marks.size(), 61u);
    EXPECT_EQ(marks.back().x, 767);
    expectLabelsApart(marks);

    // Wide labels on a narrow plot: the step grows until they clear each other.
    const ChartScale narrow(45, 13, 245, 54, 600, 10);  // 200 wide: 3 pixels a second
    const auto wide = [](int) { return 20; };
    EXPECT_EQ(narrow.labelStep(20), 8);
    int labelled = 0;
    for (const ChartScale::SecondsMark& mark : narrow.secondsMarks(wide)) {
        if (mark.labelled) ++labelled;
        if (mark.labelled) EXPECT_EQ(mark.second % 8, 0);
    }
    EXPECT_EQ(labelled, 8);  // 0, 8, … 56
}

// More frames than fps × width: a second is narrower than a pixel.
TEST(ChartScaleTest, ASecondNarrowerThanAPixelGetsLinesOnlyAtTheLabelledSeconds) {
    const ChartScale crowded(45, 13, 245, 54, 30000, 30);  // 1000 s on 200 pixels
    EXPECT_EQ(crowded.pixelsPerSecond(), 0);
    EXPECT_EQ(crowded.labelStep(24), 130);  // 26 pixels at 0.2 pixels a second

    const std::vector<ChartScale::SecondsMark> marks = crowded.secondsMarks(digitWidth);
    ASSERT_EQ(marks.size(), 8u);  // 0, 130, … 910
    for (const ChartScale::SecondsMark& mark : marks) {
        EXPECT_EQ(mark.second % 130, 0);
        EXPECT_TRUE(mark.labelled) << mark.second;
        EXPECT_EQ(mark.x, 45 + mark.second * 30 * 200 / 30000);
    }
    expectLabelsApart(marks);

    const ChartScale flat(45, 13, 45, 54, 600, 10);  // no width at all
    EXPECT_EQ(flat.labelStep(12), 1);
    EXPECT_EQ(flat.secondsMarks(digitWidth).size(), 61u);
}

TEST(ChartScaleTest, TheEventTimeShowsOnlyWhereItClearsTheStartAndEndTimes) {
    const ChartScale scale = plot(900, 30);      // 45 … 767, clock text 48 wide
    EXPECT_FALSE(scale.eventTimeFits(127, 48));  // 45 + 58 < 127 - 24 fails at 103
    EXPECT_TRUE(scale.eventTimeFits(128, 48));
    EXPECT_TRUE(scale.eventTimeFits(708, 48));
    EXPECT_FALSE(scale.eventTimeFits(709, 48));  // 767 - 58
}
