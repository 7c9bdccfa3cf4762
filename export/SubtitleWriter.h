#pragma once
// The subtitles of an export (SubRip, ".srt"): one cue for each second the
// recorder wrote, giving its local date and time as the viewer shows them and
// the highest G value of that second.
#include <cstdint>
#include <string>

class SubtitleWriter {
public:
    explicit SubtitleWriter(int framesPerSecond) : framesPerSecond_(framesPerSecond) {}

    // Frames in export order, numbered from 0.
    void addFrame(std::int64_t index, std::int64_t time, double g);
    // The file's text, with the last cue ending at frameCount.
    std::string finish(std::int64_t frameCount);

private:
    void closeCue(std::int64_t endIndex);
    std::string timestamp(std::int64_t index) const;

    int framesPerSecond_;
    std::string text_;
    int cues_ = 0;
    bool open_ = false;
    std::int64_t cueStart_ = 0;
    std::int64_t cueTime_ = 0;
    double cuePeakG_ = 0.0;
};
