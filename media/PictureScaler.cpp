#include "media/PictureScaler.h"

#include <cstdint>
#include <cstring>

// A letterbox a little larger than the frame repeats a few columns: each row
// is then a handful of long copies rather than a pixel at a time.
void PictureScaler::planColumns(int sourceWidth, int targetWidth) {
    if (sourceWidth_ == sourceWidth && targetWidth_ == targetWidth) return;
    runs_.clear();
    for (int x = 0; x < targetWidth; ++x) {
        const int from = static_cast<int>(static_cast<std::int64_t>(x) * sourceWidth / targetWidth);
        if (!runs_.empty() && runs_.back().source + runs_.back().length == from &&
            runs_.back().target + runs_.back().length == x) {
            ++runs_.back().length;
        } else {
            runs_.push_back({x, from, 1});
        }
    }
    sourceWidth_ = sourceWidth;
    targetWidth_ = targetWidth;
}

void PictureScaler::scaleRow(const std::uint8_t* in, std::uint8_t* out) const {
    constexpr int bytes = Image::bytesPerPixel;
    for (const Run& run : runs_) {
        std::memcpy(out + run.target * bytes, in + run.source * bytes, static_cast<std::size_t>(run.length) * bytes);
    }
}

// Rows are counted from the top, so both pictures share their top-left corner;
// a target row that takes the same source row as the one above is a copy of it.
void PictureScaler::scale(const Image& source, Image& target) {
    const int height = target.height();
    if (target.width() <= 0 || height <= 0 || source.width() <= 0 || source.height() <= 0) return;
    planColumns(source.width(), target.width());
    int previousSourceRow = -1;
    for (int y = 0; y < height; ++y) {
        const int sourceRow = static_cast<int>(static_cast<std::int64_t>(y) * source.height() / height);
        if (sourceRow == previousSourceRow) {
            std::memcpy(target.rowFromTop(y), target.rowFromTop(y - 1), static_cast<std::size_t>(target.stride()));
        } else {
            scaleRow(source.rowFromTop(sourceRow), target.rowFromTop(y));
        }
        previousSourceRow = sourceRow;
    }
}
