#include "tools/samplewriter/CabinSound.h"

#include <algorithm>

#include "tools/samplewriter/Waveforms.h"

namespace samplewriter {
namespace {

constexpr double kEngineHz = 31.0;
constexpr double kKnockHz = 160.0;
constexpr double kKnockSeconds = 0.3;

}  // namespace

CabinSound::CabinSound(std::uint32_t noiseKey, std::int64_t knockSample) : noiseKey_(noiseKey), knockSample_(knockSample) {}

Bytes CabinSound::samples(std::int64_t first, std::size_t count) const {
    Bytes out(count);
    for (std::size_t i = 0; i < count; ++i) out[i] = sampleAt(first + static_cast<std::int64_t>(i));
    return out;
}

double CabinSound::knockAt(std::int64_t n) const {
    const std::int64_t since = n - knockSample_;
    const double length = kKnockSeconds * kRate;
    if (knockSample_ < 0 || since < 0 || since >= length) return 0;
    const double fade = 1 - since / length;
    const double envelope = fade * fade * fade * fade;
    return envelope * (80 * parabolicSine(kKnockHz * since / kRate) + 35 * noiseAt(noiseKey_ + 1, n));
}

std::uint8_t CabinSound::sampleAt(std::int64_t n) const {
    const double t = static_cast<double>(n) / kRate;
    const double swell = 1 + 0.25 * parabolicSine(0.7 * t);
    const double hum = swell * (16 * parabolicSine(kEngineHz * t) + 9 * parabolicSine(2 * kEngineHz * t + 0.3) +
                                5 * parabolicSine(3 * kEngineHz * t + 0.1));
    const double value = 128 + hum + 4 * noiseAt(noiseKey_, n) + knockAt(n);
    return static_cast<std::uint8_t>(std::clamp(static_cast<int>(std::lround(value)), 1, 255));
}

}  // namespace samplewriter
