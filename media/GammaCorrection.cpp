#include "media/GammaCorrection.h"

#include <algorithm>
#include <cmath>

#include "media/Image.h"

GammaCorrection::GammaCorrection() {
    buildTable();
}

GammaCorrection::~GammaCorrection() = default;

void GammaCorrection::setGamma(double value) {
    // Not a number would make every table entry undefined: treat it as the
    // standard brightness.
    if (std::isnan(value)) value = 1.0;
    if (value >= maximumGamma) {
        gamma_ = maximumGamma;
    } else if (value < minimumGamma) {
        gamma_ = minimumGamma;
    } else {
        gamma_ = value;
    }
    buildTable();
}

void GammaCorrection::buildTable() {
    for (int i = 0; i < 256; ++i) {
        const double level = std::pow(i / 255.0, 1.0 / gamma_) * 255.0 + 0.5;
        table_[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(std::min(255, static_cast<int>(level)));
    }
}

void GammaCorrection::apply(Image& image) const {
    if (gamma_ == 1.0) return;
    std::uint8_t* pixel = image.pixels();
    std::uint8_t* const end = pixel + image.size();
    for (; pixel != end; pixel += Image::bytesPerPixel) {
        pixel[0] = table_[pixel[0]];
        pixel[1] = table_[pixel[1]];
        pixel[2] = table_[pixel[2]];
    }
}
