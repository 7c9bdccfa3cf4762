#pragma once
// The G-sensor table of an export (".csv"): every frame's index, its
// milliseconds from the start, its local date and time with the UTC offset,
// and its G values.
#include <cstdint>
#include <string>

class GTableWriter {
public:
    explicit GTableWriter(int framesPerSecond);

    void addFrame(std::int64_t index, std::int64_t time, double gx, double gy, double g);
    const std::string& text() const { return text_; }

private:
    int framesPerSecond_;
    std::string text_;
};
