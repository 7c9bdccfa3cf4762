// decodeJpeg on arbitrary bytes: must return a picture or null, within bounded
// time and memory, without reading outside the input or leaking.
#include <cstddef>
#include <cstdint>

#include "media/JpegDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto image = decodeJpeg(data, size);
    if (image && image->size() != image->width() * image->height() * 4) __builtin_trap();
    return 0;
}
