#pragma once
// Periodic shapes and noise for the synthetic content, in plain arithmetic
// rather than the system's sine and random generator, so that every platform
// and every run produce the same samples.
#include <cmath>
#include <cstdint>

namespace samplewriter {

// A sine-like wave of period 1 in phase (two parabolas), between -1 and 1.
inline double parabolicSine(double phase) {
    const double p = phase - std::floor(phase);
    return p < 0.5 ? 16 * p * (0.5 - p) : -16 * (p - 0.5) * (1 - p);
}

// 0 -> 1 -> 0 over a period of 1.
inline double triangleWave(double phase) {
    const double p = phase - std::floor(phase);
    return p < 0.5 ? 2 * p : 2 - 2 * p;
}

// Uniform noise in [-1, 1), a pure function of noiseKey and index.
inline double noiseAt(std::uint32_t noiseKey, std::int64_t index) {
    std::uint32_t h = static_cast<std::uint32_t>(index) * 0x9E3779B1u ^ static_cast<std::uint32_t>(index >> 32) ^
                      (noiseKey * 0x7FEB352Du);
    h ^= h >> 16;
    h *= 0x85EBCA6Bu;
    h ^= h >> 13;
    h *= 0xC2B2AE35u;
    h ^= h >> 16;
    return h / 2147483648.0 - 1.0;
}

}  // namespace samplewriter
