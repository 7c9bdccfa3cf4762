#include "support/PngWriter.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <memory>

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// libpng reports failures by a long jump back into the function that set it up,
// so nothing with a destructor may live between setjmp and the calls.
bool writeRows(std::FILE* file, int width, int height, const std::vector<png_bytep>& rows) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, info ? &info : nullptr);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, const_cast<png_bytepp>(rows.data()));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool writePng(const std::string& path, int width, int height, const std::vector<std::uint32_t>& pixels) {
    if (width <= 0 || height <= 0 || pixels.size() < static_cast<std::size_t>(width) * height) return false;
    std::vector<png_byte> bytes(static_cast<std::size_t>(width) * height * 3);
    for (std::size_t i = 0; i < static_cast<std::size_t>(width) * height; ++i) {
        bytes[i * 3] = static_cast<png_byte>(pixels[i] >> 16);
        bytes[i * 3 + 1] = static_cast<png_byte>(pixels[i] >> 8);
        bytes[i * 3 + 2] = static_cast<png_byte>(pixels[i]);
    }
    std::vector<png_bytep> rows(static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) rows[static_cast<std::size_t>(y)] = bytes.data() + static_cast<std::size_t>(y) * width * 3;
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file) return false;
    const bool written = writeRows(file.get(), width, height, rows);
    return written && std::fflush(file.get()) == 0;
}
