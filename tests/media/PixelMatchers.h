#pragma once
// Reading pixels of an Image by picture coordinates (x from the left, y from
// the top), so tests state what a viewer would see.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "media/Image.h"

struct Bgrx {
    int b, g, r, x;
};

inline Bgrx pixelAt(const Image& image, int x, int y) {
    const std::uint8_t* p = image.rowFromTop(y) + x * 4;
    return {p[0], p[1], p[2], p[3]};
}

// Row y from the top as R, G, B, fourth byte per pixel, for exact comparisons.
inline std::vector<int> rgbxRow(const Image& image, int y) {
    std::vector<int> values;
    for (int x = 0; x < image.width(); ++x) {
        const Bgrx p = pixelAt(image, x, y);
        values.insert(values.end(), {p.r, p.g, p.b, p.x});
    }
    return values;
}

// Lossy pictures come back near, not equal, to what was encoded.
inline ::testing::AssertionResult isNear(const Bgrx& actual, int r, int g, int b, int tolerance) {
    if (std::abs(actual.r - r) <= tolerance && std::abs(actual.g - g) <= tolerance &&
        std::abs(actual.b - b) <= tolerance) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "RGB (" << actual.r << ", " << actual.g << ", " << actual.b
                                         << "), expected (" << r << ", " << g << ", " << b << ") ± " << tolerance;
}
