#pragma once
// Scales a picture to another size by taking, for every target pixel, the
// source pixel it falls on (nearest neighbour, as the system's colour-on-colour
// stretching does). The player uses it to bring a frame to its letterbox size
// once, so the frame goes to the screen unstretched: stretching in the drawing
// call cost a third of the interface thread under Wine. The column plan is
// kept from frame to frame.
#include <cstdint>
#include <vector>

#include "media/Image.h"

class PictureScaler {
public:
    // Fills target, whose size is the wanted one, from source; both non-empty.
    void scale(const Image& source, Image& target);

private:
    // Target columns that take consecutive source columns: copied in one go.
    struct Run {
        int target;
        int source;
        int length;
    };
    void planColumns(int sourceWidth, int targetWidth);
    void scaleRow(const std::uint8_t* in, std::uint8_t* out) const;

    std::vector<Run> runs_;
    int sourceWidth_ = 0;
    int targetWidth_ = 0;
};
