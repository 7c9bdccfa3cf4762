#include "media/TestJpeg.h"

#include <cstdlib>

// clang-format off
#include <cstdio>  // jpeglib.h needs FILE first
#include <jpeglib.h>
// clang-format on

std::vector<unsigned char> encodeTestJpeg(const TestJpeg& picture) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(picture.width);
    info.image_height = static_cast<JDIMENSION>(picture.height);
    info.input_components = picture.components;
    info.in_color_space = picture.components == 1 ? JCS_GRAYSCALE : picture.components == 4 ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, picture.quality, TRUE);
    if (picture.progressive) jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    if (!picture.comment.empty()) {
        jpeg_write_marker(&info, JPEG_COM, reinterpret_cast<const JOCTET*>(picture.comment.data()),
                          static_cast<unsigned>(picture.comment.size()));
    }
    if (!picture.application.empty()) {
        jpeg_write_marker(&info, JPEG_APP0 + 1, reinterpret_cast<const JOCTET*>(picture.application.data()),
                          static_cast<unsigned>(picture.application.size()));
    }
    const std::size_t stride = static_cast<std::size_t>(picture.width) * picture.components;
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPLE*>(picture.samples.data() + info.next_scanline * stride);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<unsigned char> bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}

TestJpeg quadrantPicture(int width, int height, const std::uint8_t (&colours)[4][3]) {
    TestJpeg picture;
    picture.width = width;
    picture.height = height;
    picture.samples.resize(static_cast<std::size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int quadrant = (y < height / 2 ? 0 : 2) + (x < width / 2 ? 0 : 1);
            for (int c = 0; c < 3; ++c) {
                picture.samples[(static_cast<std::size_t>(y) * width + x) * 3 + c] = colours[quadrant][c];
            }
        }
    }
    return picture;
}
