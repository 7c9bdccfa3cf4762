#pragma once
// A tiny 5 x 7 pixel font for the frame number and the time stamped on sample
// pictures: digits, '/', ':', '.', '-', '#' and space.
#include <string>

#include "tools/samplewriter/RgbFrame.h"

namespace samplewriter {

class DigitFont {
public:
    static constexpr int kGlyphWidth = 5;
    static constexpr int kGlyphHeight = 7;
    static constexpr int kAdvance = 6;  // glyph width and one column of space

    // Width in pixels of text drawn at scale.
    static int textWidth(const std::string& text, int scale);
    // Draws text with its top-left corner at (x, y), each font pixel a scale x
    // scale square, on a dark box so it stays readable over any scene.
    static void drawText(RgbFrame& frame, int x, int y, const std::string& text, int scale, RgbColour colour);

private:
    static const unsigned char* glyph(char c);  // 7 rows, bit 4 = leftmost column; null for unknown
};

}  // namespace samplewriter
