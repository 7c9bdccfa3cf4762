#include "export/SubtitleWriter.h"

#include <algorithm>
#include <cstdio>

#include "export/TimeText.h"

void SubtitleWriter::addFrame(std::int64_t index, std::int64_t time, double g) {
    if (open_ && time == cueTime_) {
        cuePeakG_ = std::max(cuePeakG_, g);
        return;
    }
    if (open_) closeCue(index);
    open_ = true;
    cueStart_ = index;
    cueTime_ = time;
    cuePeakG_ = g;
}

std::string SubtitleWriter::finish(std::int64_t frameCount) {
    if (open_) closeCue(frameCount);
    open_ = false;
    return text_;
}

void SubtitleWriter::closeCue(std::int64_t endIndex) {
    char g[32];
    std::snprintf(g, sizeof g, "%.2f G", cuePeakG_);
    text_ += std::to_string(++cues_) + "\r\n";
    text_ += timestamp(cueStart_) + " --> " + timestamp(endIndex) + "\r\n";
    text_ += timeText::display(cueTime_) + "\r\n" + g + "\r\n\r\n";
}

// "hh:mm:ss,mmm" of the start of frame index.
std::string SubtitleWriter::timestamp(std::int64_t index) const {
    const std::int64_t ms = index * 1000 / framesPerSecond_;
    char text[32];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld,%03lld", static_cast<long long>(ms / 3600000),
                  static_cast<long long>(ms / 60000 % 60), static_cast<long long>(ms / 1000 % 60),
                  static_cast<long long>(ms % 1000));
    return text;
}
