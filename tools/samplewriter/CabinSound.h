#pragma once
// The synthetic sound inside the cabin: 8-bit unsigned mono samples at 11025 Hz
// of an engine hum with a little road noise, and a knock at the event.
#include <cstdint>

#include "tools/samplewriter/RecorderBlocks.h"

namespace samplewriter {

class CabinSound {
public:
    static constexpr int kRate = 11025;

    // knockSample: the sample at which the knock starts, negative for none.
    CabinSound(std::uint32_t noiseKey, std::int64_t knockSample);

    // Samples first .. first + count - 1 of the recording; any split into
    // blocks gives the same samples.
    Bytes samples(std::int64_t first, std::size_t count) const;

private:
    std::uint8_t sampleAt(std::int64_t n) const;
    double knockAt(std::int64_t n) const;

    std::uint32_t noiseKey_;
    std::int64_t knockSample_;
};

}  // namespace samplewriter
