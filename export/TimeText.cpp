#include "export/TimeText.h"

#include <cstdio>
#include <cstdlib>

#include "platform/LocalTime.h"

namespace timeText {

namespace {

bool toLocal(std::int64_t value, CalendarTime& local) {
    return value != 0 && platform::timeValueToLocal(value, local);
}

}  // namespace

std::string display(std::int64_t value) {
    CalendarTime t;
    if (!toLocal(value, t)) return "----/--/-- --:--:--";
    char text[64];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                  t.second);
    return text;
}

std::string isoLocal(std::int64_t value) {
    CalendarTime t;
    int seconds = 0;
    if (!toLocal(value, t) || !platform::utcOffsetAt(value, seconds)) return "";
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                  t.second);
    return text + offset(seconds);
}

std::string fileStamp(std::int64_t value) {
    CalendarTime t;
    if (!toLocal(value, t)) return "";
    char text[64];
    std::snprintf(text, sizeof text, "%04d%02d%02d_%02d%02d%02d", t.year, t.month, t.day, t.hour, t.minute,
                  t.second);
    return text;
}

std::string offset(int seconds) {
    const int minutes = std::abs(seconds) / 60;
    char text[16];
    std::snprintf(text, sizeof text, "%c%02d:%02d", seconds < 0 ? '-' : '+', minutes / 60 % 100, minutes % 60);
    return text;
}

}  // namespace timeText
