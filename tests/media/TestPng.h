#pragma once
// PNG pictures made in the test with the library's writer.
#include <cstdint>
#include <vector>

struct TestPng {
    int width = 0;
    int height = 0;
    int colourType = 2;  // PNG colour type: 0 grey, 2 RGB, 3 palette, 4 grey + alpha, 6 RGBA
    int bitDepth = 8;
    std::vector<std::vector<std::uint8_t>> rows;  // top row first, packed as stored in the file
    std::vector<std::uint8_t> palette;            // R, G, B per entry
    std::vector<std::uint8_t> paletteAlpha;       // tRNS of a palette picture
    int transparentGrey = -1;                     // tRNS of a grey picture
    bool interlaced = false;
};

std::vector<unsigned char> encodeTestPng(const TestPng& picture);
