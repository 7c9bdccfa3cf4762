// orvelle frame FILE INDEX OUT.png: the decoded picture of one frame slot as an
// 8-bit RGB PNG, top row first. Nothing is written when the slot does not
// decode (out of range, foreign tag, damaged JPEG).
#include <png.h>

#include <csetjmp>
#include <cstdint>
#include <iostream>
#include <string>
#include <vector>

#include "app/Exception.h"
#include "app/ModelCode.h"
#include "app/Texts.h"
#include "cli/Command.h"
#include "media/Image.h"
#include "platform/File.h"
#include "platform/FileSystem.h"
#include "platform/Utf8.h"
#include "recording/ArchiveFormat.h"
#include "recording/SoundWarning.h"
#include "recording/VideoArchive.h"

namespace {

constexpr int kTextImageUnreadable = 5511;
constexpr int kTextWriteFailed = 5035;

void printWarning(const std::wstring& text) {
    std::cerr << toUtf8(text) << std::endl;
}

// Image rows are bottom-up blue-green-red-x; PNG rows top-down red-green-blue.
std::vector<std::uint8_t> rgbRowsTopDown(const Image& image) {
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(image.width()) * image.height() * 3);
    std::uint8_t* out = rgb.data();
    for (int y = 0; y < image.height(); ++y) {
        const std::uint8_t* in = image.rowFromTop(y);
        for (int x = 0; x < image.width(); ++x, in += Image::bytesPerPixel, out += 3) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
        }
    }
    return rgb;
}

void appendToVector(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void flushNothing(png_structp) {}

// libpng reports errors by longjmp, so this function keeps only plain locals
// between setjmp and the library calls.
bool encodePng(const std::uint8_t* rgb, int width, int height, std::vector<std::uint8_t>* out) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, info ? &info : nullptr);
        return false;
    }
    png_set_write_fn(png, out, appendToVector, flushNothing);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) png_write_row(png, rgb + static_cast<std::size_t>(y) * width * 3);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

bool writeWholeFile(const std::wstring& path, const std::vector<std::uint8_t>& bytes) {
    File file;
    if (file.open(path, File::Mode::Create) && file.write(bytes.data(), bytes.size())) return true;
    file.close();
    platform::deleteFile(path);
    return false;
}

bool parseIndex(const std::wstring& text, int& index) {
    if (text.empty() || text.size() > 6) return false;
    index = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') return false;
        index = index * 10 + (c - L'0');
    }
    return true;
}

int runFrame(const std::vector<std::wstring>& arguments) {
    int index = 0;
    if (arguments.size() != 3 || !parseIndex(arguments[1], index)) return usageError("frame");
    const std::wstring& path = arguments[0];
    const std::wstring& output = arguments[2];

    loadModelCode();
    setSoundWarningHandler(printWarning);
    VideoArchive archive;
    try {
        readArchiveFile(archive, path, archiveFormatOf(path));
    } catch (const Exception& failure) {
        return fail(path, failure.message());
    }
    const std::unique_ptr<Image> image = archive.decodeFrame(index);
    if (!image) return fail(path, loadText(kTextImageUnreadable));
    std::vector<std::uint8_t> png;
    const std::vector<std::uint8_t> rgb = rgbRowsTopDown(*image);
    if (!encodePng(rgb.data(), image->width(), image->height(), &png) || !writeWholeFile(output, png)) {
        return fail(output, loadText(kTextWriteFailed));
    }
    return 0;
}

const bool registered = registerCommand(Command{"frame", "frame FILE INDEX OUT.png", runFrame});

}  // namespace
