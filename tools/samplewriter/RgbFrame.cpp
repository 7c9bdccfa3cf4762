#include "tools/samplewriter/RgbFrame.h"

#include <algorithm>

namespace samplewriter {

void RgbFrame::fill(int x0, int y0, int x1, int y1, RgbColour colour) {
    x0 = std::max(x0, 0);
    y0 = std::max(y0, 0);
    x1 = std::min(x1, width);
    y1 = std::min(y1, height);
    for (int y = y0; y < y1; ++y) {
        std::uint8_t* p = row(y) + static_cast<std::size_t>(x0) * 3;
        for (int x = x0; x < x1; ++x, p += 3) {
            p[0] = colour.r;
            p[1] = colour.g;
            p[2] = colour.b;
        }
    }
}

}  // namespace samplewriter
