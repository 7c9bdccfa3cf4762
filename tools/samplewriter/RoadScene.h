#pragma once
// The synthetic picture of a drive: sky, roadside, a road with lane marks and
// poles that move towards the viewer, a car ahead, and two lines of text. Only
// integer and plain floating-point arithmetic, so every platform draws the same
// pixels.
#include <string>

#include "tools/samplewriter/RgbFrame.h"

namespace samplewriter {

struct SceneMoment {
    double seconds = 0;     // time since the drive began; sets how far the road has moved
    double shock = 0;       // 0-1, shakes the picture at an event
    std::string frameText;  // drawn at the top left, e.g. "#0360"
    std::string timeText;   // drawn at the bottom left, e.g. "2009/06/15 14:30:12"
};

class RoadScene {
public:
    RoadScene(int width, int height);

    RgbFrame render(const SceneMoment& moment) const;

private:
    void drawSky(RgbFrame& frame, int horizon) const;
    void drawGround(RgbFrame& frame, int horizon, double distance) const;
    void drawPoles(RgbFrame& frame, int horizon, double distance) const;
    void drawCar(RgbFrame& frame, int horizon, double seconds) const;
    void drawTexts(RgbFrame& frame, const SceneMoment& moment) const;

    int width_;
    int height_;
};

}  // namespace samplewriter
