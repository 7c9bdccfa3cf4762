#include "media/JpegDecoder.h"

#include <jerror.h>

#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

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

// How decoded scanlines become Image rows.
enum class RowLayout { Bgrx, Rgb, Grey, Unsupported };

// libjpeg-turbo can write blue, green, red and a pad byte itself, which leaves
// only the pad byte to clear. Other output (grey, or plain RGB from a library
// without that colour space) is converted here.
RowLayout chooseRowLayout(jpeg_decompress_struct& info) {
    if (info.output_components == 1) return RowLayout::Grey;
    if (info.output_components != 3) return RowLayout::Unsupported;  // four-component streams and the like
#ifdef JCS_EXTENSIONS
    if (info.out_color_space == JCS_RGB) {
        info.out_color_space = JCS_EXT_BGRX;
        return RowLayout::Bgrx;
    }
#endif
    return RowLayout::Rgb;
}

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

// The library fills the pad byte with 255; decoded frames carry 0 there.
// Sixteen bytes at a time where the processor has the vector instructions
// every x86-64 one has: the optimiser leaves the word loop scalar at the
// release build's level, and it was a fifth of the decoding thread.
void copyClearingFourthBytes(const JSAMPLE* __restrict in, std::uint8_t* __restrict out, int width) {
    static constexpr std::uint8_t colourBytes[4] = {0xFF, 0xFF, 0xFF, 0x00};
    std::uint32_t mask;
    std::memcpy(&mask, colourBytes, 4);
    int x = 0;
#ifdef __SSE2__
    const __m128i masks = _mm_set1_epi32(static_cast<int>(mask));
    for (; x + 4 <= width; x += 4) {
        const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 4 * x));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4 * x), _mm_and_si128(pixels, masks));
    }
#endif
    for (; x < width; ++x) {
        std::uint32_t pixel;
        std::memcpy(&pixel, in + 4 * x, 4);
        pixel &= mask;
        std::memcpy(out + 4 * x, &pixel, 4);
    }
}

// One decoded scanline, kept in the cache between the library and the picture.
// Deliberately not on a 16-byte boundary: on aligned rows the library's SIMD
// colour conversion writes past the cache, and reading the row back to finish
// it would then cost more than the whole decode.
class ScanlineBuffer {
public:
    explicit ScanlineBuffer(std::size_t bytes) : storage_(bytes + 2 * kOffset) {}
    JSAMPLE* data() {
        auto address = reinterpret_cast<std::uintptr_t>(storage_.data());
        const std::size_t misalign = (kOffset - address % kOffset) % kOffset + kOffset / 4;
        return storage_.data() + misalign;
    }

private:
    static constexpr std::size_t kOffset = 32;
    std::vector<JSAMPLE> storage_;
};

bool stoppedShort(Decompression& decompression) {
    return JpegMemorySource::ranOut(&decompression.info) || decompression.scanEndedEarly();
}

// Reads every scanline, top first, into memory rows from the last one down.
// False when the data ran out on the way.
bool readScanlines(Decompression& decompression, RowLayout layout, Image& image) {
    jpeg_decompress_struct& info = decompression.info;
    const int width = image.width();
    ScanlineBuffer scanline(static_cast<std::size_t>(info.output_components == 1 ? 1 : 4) * info.output_width);
    JSAMPROW target = scanline.data();
    while (info.output_scanline < info.output_height) {
        std::uint8_t* row = image.rowFromTop(static_cast<int>(info.output_scanline));
        if (jpeg_read_scanlines(&info, &target, 1) != 1 || stoppedShort(decompression)) return false;
        if (layout == RowLayout::Bgrx) {
            copyClearingFourthBytes(target, row, width);
        } else if (layout == RowLayout::Rgb) {
            convertRgbRow(target, row, width);
        } else {
            convertGreyRow(target, row, width);
        }
    }
    return true;
}

// Tries the reductions from the strongest down; the library's own IDCT does the
// reducing (1/8 needs only each block's average), so it is both the fastest
// and the smoothest way to a small picture.
void chooseScaleToFit(jpeg_decompress_struct& info, int fitWidth, int fitHeight) {
    info.scale_num = 1;
    for (unsigned int denominator : {8u, 4u, 2u}) {
        info.scale_denom = denominator;
        jpeg_calc_output_dimensions(&info);
        if (info.output_width >= static_cast<JDIMENSION>(fitWidth) &&
            info.output_height >= static_cast<JDIMENSION>(fitHeight)) {
            return;
        }
    }
    info.scale_denom = 1;
}

std::unique_ptr<Image> decode(Decompression& decompression, const unsigned char* data, std::size_t length,
                              int fitWidth, int fitHeight) {
    jpeg_decompress_struct& info = decompression.info;
    JpegMemorySource::install(&info, data, length);
    info.mem->max_memory_to_use = libraryMemoryLimit;
    jpeg_read_header(&info, TRUE);
    if (stoppedShort(decompression)) return nullptr;
    if (fitWidth > 0 && fitHeight > 0) chooseScaleToFit(info, fitWidth, fitHeight);
    jpeg_calc_output_dimensions(&info);
    if (!Image::fitsDecodedPicture(info.output_width, info.output_height)) return nullptr;
    const RowLayout layout = chooseRowLayout(info);
    if (layout == RowLayout::Unsupported) return nullptr;
    auto image = Image::createForOverwrite(static_cast<int>(info.output_width), static_cast<int>(info.output_height));
    if (!image) return nullptr;
    jpeg_start_decompress(&info);
    if (stoppedShort(decompression)) return nullptr;
    if (!readScanlines(decompression, layout, *image)) return nullptr;
    jpeg_finish_decompress(&info);
    if (stoppedShort(decompression)) return nullptr;
    return image;
}

}  // namespace

std::unique_ptr<Image> decodeJpeg(const unsigned char* data, std::size_t length) {
    return decodeJpegToFit(data, length, 0, 0);
}

std::unique_ptr<Image> decodeJpegToFit(const unsigned char* data, std::size_t length, int fitWidth, int fitHeight) {
    try {
        Decompression decompression;
        return decode(decompression, data, length, fitWidth, fitHeight);
    } catch (const ImageException&) {
        return nullptr;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
