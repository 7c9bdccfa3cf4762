#include "tools/samplewriter/RoadScene.h"

#include <algorithm>
#include <cmath>

#include "tools/samplewriter/DigitFont.h"
#include "tools/samplewriter/Waveforms.h"

namespace samplewriter {
namespace {

constexpr double kSpeed = 14.0;      // world units per second
constexpr double kDepthScale = 4.0;  // world units per unit of depth
constexpr double kPoleSpacing = 12.0;
constexpr double kFarthestPole = 40.0;

constexpr RgbColour kSkyTop{70, 120, 200};
constexpr RgbColour kSkyHorizon{185, 210, 240};
constexpr RgbColour kGrass[2] = {{70, 150, 60}, {55, 125, 48}};
constexpr RgbColour kRoad[2] = {{96, 96, 102}, {86, 86, 92}};
constexpr RgbColour kPaint{235, 235, 230};
constexpr RgbColour kPole{205, 205, 200};
constexpr RgbColour kLamp{255, 220, 120};
constexpr RgbColour kCarBody{185, 30, 35};
constexpr RgbColour kCarWindow{40, 45, 70};
constexpr RgbColour kCarLight{255, 190, 40};
constexpr RgbColour kTyre{25, 25, 25};
constexpr RgbColour kText{255, 255, 255};

std::uint8_t mix(std::uint8_t a, std::uint8_t b, int numerator, int denominator) {
    return static_cast<std::uint8_t>(a + (b - a) * numerator / std::max(denominator, 1));
}

int stripe(double worldPosition, double period) {
    return static_cast<int>(std::floor(worldPosition / period)) & 1;
}

}  // namespace

RoadScene::RoadScene(int width, int height) : width_(std::max(width, 1)), height_(std::max(height, 1)) {}

RgbFrame RoadScene::render(const SceneMoment& moment) const {
    RgbFrame frame(width_, height_);
    const double shake = std::clamp(moment.shock, 0.0, 1.0) * height_ * 0.04;
    const int direction = (static_cast<long long>(std::floor(moment.seconds * 30)) & 1) ? 1 : -1;
    const int horizon = std::clamp(static_cast<int>(height_ * 0.45 + direction * shake), 1, height_ - 1);
    const double distance = moment.seconds * kSpeed;
    drawSky(frame, horizon);
    drawGround(frame, horizon, distance);
    drawPoles(frame, horizon, distance);
    drawCar(frame, horizon, moment.seconds);
    drawTexts(frame, moment);
    return frame;
}

void RoadScene::drawSky(RgbFrame& frame, int horizon) const {
    for (int y = 0; y < horizon; ++y) {
        const RgbColour colour{mix(kSkyTop.r, kSkyHorizon.r, y, horizon), mix(kSkyTop.g, kSkyHorizon.g, y, horizon),
                               mix(kSkyTop.b, kSkyHorizon.b, y, horizon)};
        frame.fill(0, y, width_, y + 1, colour);
    }
}

void RoadScene::drawGround(RgbFrame& frame, int horizon, double distance) const {
    const int centre = width_ / 2;
    for (int y = horizon; y < height_; ++y) {
        const double nearness = static_cast<double>(y - horizon + 1) / (height_ - horizon);  // 1 / depth
        const double world = kDepthScale / nearness + distance;
        const int band = stripe(world, 2.0);
        const int roadHalf = static_cast<int>(nearness * width_ * 0.42);
        const int edgeLine = std::max(1, static_cast<int>(nearness * width_ * 0.012));
        const int dashHalf = std::max(1, static_cast<int>(nearness * width_ * 0.008));
        frame.fill(0, y, width_, y + 1, kGrass[band]);
        frame.fill(centre - roadHalf, y, centre + roadHalf, y + 1, kRoad[band]);
        frame.fill(centre - roadHalf, y, centre - roadHalf + edgeLine, y + 1, kPaint);
        frame.fill(centre + roadHalf - edgeLine, y, centre + roadHalf, y + 1, kPaint);
        if (stripe(world, 3.0) == 0) frame.fill(centre - dashHalf, y, centre + dashHalf, y + 1, kPaint);
    }
}

void RoadScene::drawPoles(RgbFrame& frame, int horizon, double distance) const {
    const int ground = height_ - horizon;
    const long long first = static_cast<long long>(std::floor((distance + kFarthestPole * kDepthScale) / kPoleSpacing));
    // Far to near, so nearer poles cover farther ones.
    for (long long pole = first; pole * kPoleSpacing > distance + kDepthScale; --pole) {
        const double depth = (pole * kPoleSpacing - distance) / kDepthScale;
        const double nearness = 1.0 / depth;
        const int base = horizon + static_cast<int>(nearness * ground);
        const int x = width_ / 2 + static_cast<int>(nearness * width_ * 0.55);
        const int tall = static_cast<int>(nearness * height_ * 1.2);
        const int thick = std::max(1, static_cast<int>(nearness * width_ * 0.02));
        frame.fill(x, base - tall, x + thick, base, kPole);
        frame.fill(x - thick, base - tall, x + 2 * thick, base - tall + thick, kLamp);
    }
}

void RoadScene::drawCar(RgbFrame& frame, int horizon, double seconds) const {
    const double depth = 2.2 + 1.2 * triangleWave(seconds / 9.0);
    const double nearness = 1.0 / depth;
    const int base = horizon + static_cast<int>(nearness * (height_ - horizon));
    const int carWidth = static_cast<int>(nearness * width_ * 0.55);
    const int carHeight = carWidth * 11 / 20;
    const int left = width_ / 2 - static_cast<int>(nearness * width_ * 0.05) - carWidth / 2;
    const int top = base - carHeight;
    frame.fill(left + carWidth / 10, base - carHeight / 8, left + carWidth * 3 / 10, base + carHeight / 12, kTyre);
    frame.fill(left + carWidth * 7 / 10, base - carHeight / 8, left + carWidth * 9 / 10, base + carHeight / 12, kTyre);
    frame.fill(left, top + carHeight / 3, left + carWidth, base, kCarBody);
    frame.fill(left + carWidth / 8, top, left + carWidth * 7 / 8, top + carHeight / 3, kCarBody);
    frame.fill(left + carWidth / 5, top + carHeight / 14, left + carWidth * 4 / 5, top + carHeight / 3, kCarWindow);
    frame.fill(left + carWidth / 14, top + carHeight / 2, left + carWidth / 5, top + carHeight * 2 / 3, kCarLight);
    frame.fill(left + carWidth * 4 / 5, top + carHeight / 2, left + carWidth * 13 / 14, top + carHeight * 2 / 3,
               kCarLight);
}

void RoadScene::drawTexts(RgbFrame& frame, const SceneMoment& moment) const {
    const int scale = std::max(1, height_ / 160);
    const int margin = 3 * scale;
    DigitFont::drawText(frame, margin, margin, moment.frameText, scale, kText);
    DigitFont::drawText(frame, margin, height_ - margin - DigitFont::kGlyphHeight * scale, moment.timeText, scale,
                        kText);
}

}  // namespace samplewriter
