#pragma once
// The texts an export writes for a time value, in local time as the viewer
// shows it.
#include <cstdint>
#include <string>

namespace timeText {

// "2009/06/15 14:30:12", the viewer's own format; dashes for no time.
std::string display(std::int64_t value);
// "2009-06-15T14:30:12+09:00"; empty for no time.
std::string isoLocal(std::int64_t value);
// "20090615_143012" for file names; empty for no time.
std::string fileStamp(std::int64_t value);
// "+09:00" for an offset in seconds.
std::string offset(int seconds);

}  // namespace timeText
