#pragma once
// The benchmarks' reference: a picture decoded as any program would with plain
// libjpeg, its own memory source, standard error manager and default
// parameters, RGB scanlines into one buffer. Only for the benchmarks' own
// well-formed pictures: a damaged one ends the program.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

// clang-format off
#include <jpeglib.h>
// clang-format on

inline void decodePlainly(const std::vector<std::uint8_t>& jpeg, std::vector<std::uint8_t>& pixels) {
    jpeg_decompress_struct decoder{};
    jpeg_error_mgr errors{};
    decoder.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&decoder);
    jpeg_mem_src(&decoder, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&decoder, TRUE);
    jpeg_start_decompress(&decoder);
    const std::size_t stride = static_cast<std::size_t>(decoder.output_width) * decoder.output_components;
    pixels.resize(stride * decoder.output_height);
    while (decoder.output_scanline < decoder.output_height) {
        JSAMPROW row = pixels.data() + stride * decoder.output_scanline;
        jpeg_read_scanlines(&decoder, &row, 1);
    }
    jpeg_finish_decompress(&decoder);
    jpeg_destroy_decompress(&decoder);
}
