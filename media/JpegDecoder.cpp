#include "media/JpegDecoder.h"

#include <jerror.h>

#include <cstdint>
#include <new>
#include <vector>

#include "app/Exception.h"
#include "media/JpegMemorySource.h"

namespace {

// Bounds what the library may allocate for its own whole-picture buffers
// (progressive and multi-scan streams), so a hostile header asking for a
// gigapixel picture fails instead of exhausting memory. A recorder frame needs
// a few megabytes.
constexpr long libraryMemoryLimit = 256L * 1024 * 1024;

// The library's fatal errors unwind to decodeJpeg, which returns null.
[[noreturn]] void throwImageException(j_common_ptr) {
    throw ImageException(L"");
}

// A decompression object with the standard error manager (fatal errors throw);
// destroying it frees everything the library allocated.
class Decompression {
public:
    Decompression() {
        info.err = jpeg_std_error(&errors);
        errors.error_exit = throwImageException;
        standardEmitMessage = errors.emit_message;
        errors.emit_message = noteMessage;
        try {
            jpeg_create_decompress(&info);
        } catch (const ImageException&) {
            jpeg_destroy_decompress(&info);  // frees what a create that ran out of memory got
            throw;
        }
        info.client_data = this;
    }
    ~Decompression() { jpeg_destroy_decompress(&info); }
    Decompression(const Decompression&) = delete;
    Decompression& operator=(const Decompression&) = delete;

    // True once the compressed data of a scan ended before the picture did: the
    // library would fill the rest with grey, so the stream is as good as cut
    // short, and decoding it on costs time for nothing (a tiny stream can
    // declare a huge picture).
    bool scanEndedEarly() const { return scanEnded; }

    jpeg_decompress_struct info{};  // zeroed, so destroying after a failed create is harmless
    jpeg_error_mgr errors{};

private:
    // Warnings keep the library's own handling; one of them is also noted.
    static void noteMessage(j_common_ptr common, int level) {
        auto* self = static_cast<Decompression*>(common->client_data);
        if (self == nullptr) return;
        if (level < 0 && self->errors.msg_code == JWRN_HIT_MARKER) self->scanEnded = true;
        self->standardEmitMessage(common, level);
    }

    void (*standardEmitMessage)(j_common_ptr, int) = nullptr;
    bool scanEnded = false;
};

void convertRgbRow(const JSAMPLE* in, std::uint8_t* out, int width) {
    for (int x = 0; x < width; ++x, in += 3, out += 4) {
        out[0] = in[2];
        out[1] = in[1];
        out[2] = in[0];
        out[3] = 0;
    }
}

void convertGreyRow(const JSAMPLE* in, std::uint8_t* out, int width) {
    for (int x = 0; x < width; ++x, ++in, out += 4) {
        out[0] = out[1] = out[2] = *in;
        out[3] = 0;
    }
}

bool hasConvertibleOutput(const jpeg_decompress_struct& info) {
    return info.output_components == 1 || info.output_components == 3;
}

// Reads every scanline, top first, into memory rows from the last one down.
// False when the data ran out on the way.
bool readScanlines(Decompression& decompression, Image& image) {
    jpeg_decompress_struct& info = decompression.info;
    const int width = image.width();
    std::vector<JSAMPLE> scanline((static_cast<std::size_t>(info.output_components) * info.output_width + 3) & ~3u);
    JSAMPROW rows[1] = {scanline.data()};
    while (info.output_scanline < info.output_height) {
        const int y = static_cast<int>(info.output_scanline);
        if (jpeg_read_scanlines(&info, rows, 1) != 1) return false;
        if (JpegMemorySource::ranOut(&info) || decompression.scanEndedEarly()) return false;
        if (info.output_components == 3) {
            convertRgbRow(scanline.data(), image.rowFromTop(y), width);
        } else {
            convertGreyRow(scanline.data(), image.rowFromTop(y), width);
        }
    }
    return true;
}

std::unique_ptr<Image> decode(Decompression& decompression, const unsigned char* data, std::size_t length) {
    jpeg_decompress_struct& info = decompression.info;
    JpegMemorySource::install(&info, data, length);
    info.mem->max_memory_to_use = libraryMemoryLimit;
    jpeg_read_header(&info, TRUE);
    if (JpegMemorySource::ranOut(&info)) return nullptr;
    jpeg_calc_output_dimensions(&info);
    if (!hasConvertibleOutput(info)) return nullptr;
    if (!Image::fitsDecodedPicture(info.output_width, info.output_height)) return nullptr;
    auto image = Image::createForOverwrite(static_cast<int>(info.output_width), static_cast<int>(info.output_height));
    if (!image) return nullptr;
    jpeg_start_decompress(&info);
    if (JpegMemorySource::ranOut(&info) || decompression.scanEndedEarly()) return nullptr;
    if (!readScanlines(decompression, *image)) return nullptr;
    jpeg_finish_decompress(&info);
    if (JpegMemorySource::ranOut(&info) || decompression.scanEndedEarly()) return nullptr;
    return image;
}

}  // namespace

std::unique_ptr<Image> decodeJpeg(const unsigned char* data, std::size_t length) {
    try {
        Decompression decompression;
        return decode(decompression, data, length);
    } catch (const ImageException&) {
        return nullptr;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
