#pragma once
// A libjpeg source manager over bytes already in memory (one recorder frame).
// When the decoder asks for more after the last byte it is offered an end
// marker instead of anything re-read, and the source remembers that it ran
// out, so a truncated stream ends promptly and can be refused.
// clang-format off
#include <cstddef>
#include <cstdio>  // jpeglib.h needs FILE and size_t first
#include <jpeglib.h>
// clang-format on

class JpegMemorySource {
public:
    // Points the decompression object at data/length. The source lives in the
    // library's permanent pool: allocated on first use, reused afterwards.
    static void install(j_decompress_ptr info, const unsigned char* data, std::size_t length);
    // True once the decoder has asked for bytes beyond the end of the data.
    static bool ranOut(j_decompress_ptr info);

private:
    static void initSource(j_decompress_ptr info);
    static boolean fillInputBuffer(j_decompress_ptr info);
    static void skipInputData(j_decompress_ptr info, long count);
    static void termSource(j_decompress_ptr info);

    jpeg_source_mgr manager;  // first, so the library's pointer is ours
    const unsigned char* data;
    std::size_t length;
    std::size_t position;  // bytes handed to the library so far
    bool exhausted;
};
