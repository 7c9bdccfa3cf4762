#pragma once
// Where the G-sensor chart puts things: the value scale fitted to the largest
// G of a recording, the grid rows, the seconds lines with the seconds that get
// a label, and the x of a frame. Plain arithmetic on the plot rectangle, so the
// chart window only draws what this says.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class IVideoInfo;

class ChartScale {
public:
    // Rows of the horizontal grid, from the top value down to the bottom one.
    static constexpr int gridRows = 5;
    // Values at or below this share one scale, which starts above 0 to show small readings larger.
    static constexpr double smallestTop = 0.5;
    static constexpr double smallScaleBottom = 0.1;

    struct SecondsMark {
        int second = 0;
        int x = 0;
        bool labelled = false;
        int labelLeft = 0;  // left edge of the centred label, when labelled
    };

    // The plot in bitmap coordinates; frameCount is 0 without a recording.
    ChartScale(int left, int top, int right, int bottom, int frameCount, int framesPerSecond);

    // The scale for the largest G among the frames that have a record.
    void fitValues(const IVideoInfo* info);
    // top: the larger of 0.5 and largestG, rounded up to a multiple of 0.5.
    void fitLargestG(double largestG);
    double topValue() const { return topValue_; }
    double bottomValue() const { return bottomValue_; }
    double valueRange() const { return topValue_ - bottomValue_; }
    // Readings below the bottom value fall below the plot, so the data line is clipped.
    bool clipsData() const { return bottomValue_ > 0; }

    int gridY(int row) const;
    // "%+4.2lf" of the row's value.
    std::wstring gridLabel(int row) const;
    int valueY(double g) const;

    // The data and event lines: a single frame stands at the left edge.
    int frameX(int frame) const;
    // The line of the frame on screen: a single frame stands at the right
    // edge, as its only frame is also the last.
    int currentFrameX(int frame) const;

    // Whole pixels per second of recording; 0 when a second is narrower than a pixel.
    int pixelsPerSecond() const;
    // Label every step-th second, so that labels as wide as the widest one do
    // not touch. A second narrower than a pixel takes the step from the exact
    // spacing instead of the whole pixels per second, which would be 0.
    int labelStep(int widestLabelWidth) const;
    // One mark per second from 0 to the end, each with its label decision, or
    // only the labelled seconds when a second is narrower than a pixel;
    // labelWidth(s) is the drawn width of the text of s.
    std::vector<SecondsMark> secondsMarks(const std::function<int(int)>& labelWidth) const;

    // Whether the event's clock time, centred on its line, clears the start
    // and end times at the plot's corners.
    bool eventTimeFits(int eventX, int clockWidth) const;

    int left() const { return left_; }
    int top() const { return top_; }
    int right() const { return right_; }
    int bottom() const { return bottom_; }
    int frameCount() const { return frameCount_; }

private:
    int width() const { return right_ - left_; }
    int height() const { return bottom_ - top_; }
    std::int64_t secondsCount() const;

    int left_;
    int top_;
    int right_;
    int bottom_;
    int frameCount_;
    int framesPerSecond_;
    double topValue_ = smallestTop;
    double bottomValue_ = smallScaleBottom;
};
