#include "export/GTableWriter.h"

#include <cstdio>

#include "export/TimeText.h"

GTableWriter::GTableWriter(int framesPerSecond) : framesPerSecond_(framesPerSecond) {
    text_ = "frame,ms,local_time,gx,gy,g\r\n";
}

void GTableWriter::addFrame(std::int64_t index, std::int64_t time, double gx, double gy, double g) {
    char line[160];
    std::snprintf(line, sizeof line, "%lld,%lld,%s,%.3f,%.3f,%.3f\r\n", static_cast<long long>(index),
                  static_cast<long long>(index * 1000 / framesPerSecond_), timeText::isoLocal(time).c_str(), gx, gy,
                  g);
    text_ += line;
}
