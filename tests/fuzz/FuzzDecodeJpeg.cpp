// decodeJpeg and the reduced decodeJpegToFit on arbitrary bytes: each must
// return a picture or null, within bounded time and memory, without reading
// outside the input or leaking; a reduced picture is never larger than the full one.
#include <cstddef>
#include <cstdint>

#include "media/JpegDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto image = decodeJpeg(data, size);
    if (image && image->size() != image->width() * image->height() * 4) __builtin_trap();
    auto reduced = decodeJpegToFit(data, size, 71, 53);
    if (reduced && reduced->size() != reduced->width() * reduced->height() * 4) __builtin_trap();
    if (image && reduced && (reduced->width() > image->width() || reduced->height() > image->height())) {
        __builtin_trap();
    }
    return 0;
}
