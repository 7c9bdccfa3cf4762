#include "media/ChartScale.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cwchar>

#include "recording/IVideoInfo.h"

namespace {

// Labels sit this far apart at least.
constexpr int labelGap = 2;

int toInt(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, INT_MIN, INT_MAX));
}

// Truncated toward zero and saturated: converting a double outside int is undefined.
int truncateToInt(double value) {
    if (std::isnan(value)) return 0;
    if (value <= INT_MIN) return INT_MIN;
    if (value >= INT_MAX) return INT_MAX;
    return static_cast<int>(value);
}

std::int64_t divideRoundingUp(std::int64_t numerator, std::int64_t denominator) {
    return (numerator + denominator - 1) / denominator;
}

}  // namespace

ChartScale::ChartScale(int left, int top, int right, int bottom, int frameCount, int framesPerSecond)
    : left_(left),
      top_(top),
      right_(right),
      bottom_(bottom),
      frameCount_(std::max(frameCount, 0)),
      framesPerSecond_(std::max(framesPerSecond, 1)) {}

void ChartScale::fitValues(const IVideoInfo* info) {
    double largest = smallestTop;
    const int frames = info ? info->frameCount() : 0;
    for (int frame = 0; frame < frames; ++frame) {
        if (const FrameRecord* record = info->frameRecord(frame)) largest = std::max(largest, record->g);
    }
    fitLargestG(largest);
}

void ChartScale::fitLargestG(double largestG) {
    const double largest = std::isfinite(largestG) ? std::max(largestG, smallestTop) : smallestTop;
    topValue_ = std::ceil(2 * largest) * 0.5;
    bottomValue_ = topValue_ <= smallestTop ? smallScaleBottom : 0.0;
}

int ChartScale::gridY(int row) const {
    return top_ + (row * height()) / (gridRows - 1);
}

std::wstring ChartScale::gridLabel(int row) const {
    wchar_t text[32];
    std::swprintf(text, 32, L"%+4.2lf", topValue_ - row * valueRange() * 0.25);
    return text;
}

int ChartScale::valueY(double g) const {
    if (!std::isfinite(g)) return bottom_;
    return truncateToInt(top_ + height() * (topValue_ - g) / valueRange());
}

int ChartScale::frameX(int frame) const {
    if (frameCount_ <= 1) return left_;
    return toInt(left_ + static_cast<std::int64_t>(frame) * width() / (frameCount_ - 1));
}

int ChartScale::currentFrameX(int frame) const {
    if (frameCount_ == 1) return right_;
    if (frameCount_ == 0) return left_;
    const std::int64_t shown = std::clamp(frame, 0, frameCount_ - 1);
    return toInt(left_ + static_cast<std::int64_t>(width()) * shown / (frameCount_ - 1));
}

int ChartScale::pixelsPerSecond() const {
    if (frameCount_ == 0 || width() <= 0) return 0;
    return toInt(static_cast<std::int64_t>(framesPerSecond_) * width() / frameCount_);
}

// A second narrower than a pixel (p = 0, only for recordings far longer than
// the recorder writes) has no step in whole pixels per second; the step then
// comes from the exact spacing fps × W / n, the smallest that keeps labels apart.
int ChartScale::labelStep(int widestLabelWidth) const {
    if (frameCount_ == 0 || width() <= 0) return 1;
    const std::int64_t needed = std::max<std::int64_t>(std::int64_t{widestLabelWidth} + labelGap, 1);
    const int perSecond = pixelsPerSecond();
    if (perSecond > 0) return toInt(divideRoundingUp(needed, perSecond));
    const std::int64_t spacingTimesFrames = static_cast<std::int64_t>(framesPerSecond_) * width();
    return toInt(std::max<std::int64_t>(divideRoundingUp(needed * frameCount_, spacingTimesFrames), 1));
}

std::int64_t ChartScale::secondsCount() const {
    return frameCount_ / framesPerSecond_ + std::int64_t{1};
}

// With p = 0 a line per second would cover the plot in grey, so then only the
// labelled seconds get a line.
std::vector<ChartScale::SecondsMark> ChartScale::secondsMarks(const std::function<int(int)>& labelWidth) const {
    const int step = labelStep(labelWidth(frameCount_ / framesPerSecond_));
    const bool linesOnlyAtSteps = frameCount_ > 0 && width() > 0 && pixelsPerSecond() == 0;
    std::vector<SecondsMark> marks;
    int lastLabelRight = 0;
    const int advance = linesOnlyAtSteps ? step : 1;
    for (std::int64_t second = 0; second < secondsCount(); second += advance) {
        const bool atStep = second % step == 0;
        SecondsMark mark;
        mark.second = static_cast<int>(second);
        mark.x = frameCount_ == 0 ? left_ : toInt(left_ + second * framesPerSecond_ * width() / frameCount_);
        if (atStep) {
            const int textWidth = labelWidth(mark.second);
            mark.labelLeft = mark.x - textWidth / 2;
            mark.labelled = mark.labelLeft > lastLabelRight;
            if (mark.labelled) lastLabelRight = mark.labelLeft + textWidth;
        }
        marks.push_back(mark);
    }
    return marks;
}

bool ChartScale::eventTimeFits(int eventX, int clockWidth) const {
    return left_ + clockWidth + 10 < eventX - clockWidth / 2 && eventX < right_ - clockWidth - 10;
}
