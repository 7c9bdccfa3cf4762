#pragma once
// Synthetic acceleration readings in G: small road noise and a slow sway, with
// a sharp spike (forward and to one side) at the event.
#include <cstdint>

namespace samplewriter {

class GSensorTrack {
public:
    // eventSeconds: when the spike starts on the recording's time line; a
    // negative value means no event.
    GSensorTrack(std::uint32_t noiseKey, double eventSeconds);

    double gx(double seconds) const;
    double gy(double seconds) const;

private:
    double spike(double seconds) const;  // 0-1

    std::uint32_t noiseKey_;
    double eventSeconds_;
};

}  // namespace samplewriter
