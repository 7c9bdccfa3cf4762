#include "media/JpegMemorySource.h"

#include <cstddef>
#include <type_traits>

namespace {

// Offered once the data is used up: the decoder then winds down as at the end
// of a stream instead of waiting for bytes that will never come.
const JOCTET endOfImage[2] = {0xFF, JPEG_EOI};

}  // namespace

static_assert(std::is_standard_layout_v<JpegMemorySource> && std::is_trivially_copyable_v<JpegMemorySource>,
              "lives in libjpeg's pool, reached through a jpeg_source_mgr pointer");

void JpegMemorySource::install(j_decompress_ptr info, const unsigned char* data, std::size_t length) {
    if (info->src == nullptr) {
        void* memory =
            (*info->mem->alloc_small)(reinterpret_cast<j_common_ptr>(info), JPOOL_PERMANENT, sizeof(JpegMemorySource));
        info->src = reinterpret_cast<jpeg_source_mgr*>(memory);
    }
    auto* source = reinterpret_cast<JpegMemorySource*>(info->src);
    source->manager.init_source = initSource;
    source->manager.fill_input_buffer = fillInputBuffer;
    source->manager.skip_input_data = skipInputData;
    source->manager.resync_to_restart = jpeg_resync_to_restart;
    source->manager.term_source = termSource;
    source->manager.next_input_byte = nullptr;
    source->manager.bytes_in_buffer = 0;
    source->data = data;
    source->length = data == nullptr ? 0 : length;
    source->position = 0;
    source->exhausted = false;
}

bool JpegMemorySource::ranOut(j_decompress_ptr info) {
    return info->src != nullptr && reinterpret_cast<const JpegMemorySource*>(info->src)->exhausted;
}

void JpegMemorySource::initSource(j_decompress_ptr info) {
    auto* source = reinterpret_cast<JpegMemorySource*>(info->src);
    source->position = 0;
    source->exhausted = false;
}

boolean JpegMemorySource::fillInputBuffer(j_decompress_ptr info) {
    auto* source = reinterpret_cast<JpegMemorySource*>(info->src);
    if (source->position < source->length) {
        source->manager.next_input_byte = source->data + source->position;
        source->manager.bytes_in_buffer = source->length - source->position;
        source->position = source->length;
    } else {
        source->exhausted = true;
        source->manager.next_input_byte = endOfImage;
        source->manager.bytes_in_buffer = sizeof endOfImage;
    }
    return TRUE;
}

void JpegMemorySource::skipInputData(j_decompress_ptr info, long count) {
    if (count <= 0) return;
    auto* source = reinterpret_cast<JpegMemorySource*>(info->src);
    auto skip = static_cast<std::size_t>(count);
    if (skip <= source->manager.bytes_in_buffer) {
        source->manager.next_input_byte += skip;
        source->manager.bytes_in_buffer -= skip;
        return;
    }
    // Past what was offered, which always ends at the end of the data (or is
    // the end marker offered after it): the stream is cut short.
    source->exhausted = true;
    source->position = source->length;
    source->manager.next_input_byte = endOfImage;
    source->manager.bytes_in_buffer = sizeof endOfImage;
}

void JpegMemorySource::termSource(j_decompress_ptr) {}
