#include "tools/samplewriter/GSensorTrack.h"

#include <cmath>

#include "tools/samplewriter/Waveforms.h"

namespace samplewriter {
namespace {

constexpr double kSpikeSeconds = 0.8;
constexpr double kSpikeX = 0.85;
constexpr double kSpikeY = -0.45;
constexpr double kNoise = 0.03;

std::int64_t millisecond(double seconds) {
    return static_cast<std::int64_t>(std::floor(seconds * 1000));
}

}  // namespace

GSensorTrack::GSensorTrack(std::uint32_t noiseKey, double eventSeconds) : noiseKey_(noiseKey), eventSeconds_(eventSeconds) {}

double GSensorTrack::spike(double seconds) const {
    if (eventSeconds_ < 0) return 0;
    const double since = seconds - eventSeconds_;
    if (since < 0 || since >= kSpikeSeconds) return 0;
    const double fade = 1 - since / kSpikeSeconds;
    return fade * fade * fade;
}

double GSensorTrack::gx(double seconds) const {
    return 0.04 * parabolicSine(seconds * 0.25) + kNoise * noiseAt(noiseKey_, millisecond(seconds)) +
           kSpikeX * spike(seconds);
}

double GSensorTrack::gy(double seconds) const {
    return 0.06 * parabolicSine(seconds * 0.11 + 0.4) + kNoise * noiseAt(noiseKey_ + 7, millisecond(seconds)) +
           kSpikeY * spike(seconds);
}

}  // namespace samplewriter
