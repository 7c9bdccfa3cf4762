#include "media/PngDecoder.h"

#include <png.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

namespace {

constexpr std::size_t signatureLength = 8;

bool hasPngSignature(const unsigned char* data, std::size_t length) {
    if (data == nullptr) return false;
    return png_sig_cmp(data, 0, std::min(length, signatureLength)) == 0;
}

// One decode: the library's structures and what is filled for it. The
// library reports errors by a long jump back into decode(), so everything that
// must outlive such a jump is a member, released by the destructor.
class PngRead {
public:
    PngRead(const unsigned char* data, std::size_t length) : next(data), remaining(length) {
        png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        if (png != nullptr) info = png_create_info_struct(png);
    }
    ~PngRead() { png_destroy_read_struct(&png, &info, nullptr); }
    PngRead(const PngRead&) = delete;
    PngRead& operator=(const PngRead&) = delete;

    std::unique_ptr<Image> decode() {
        if (png == nullptr || info == nullptr) return nullptr;
        if (setjmp(png_jmpbuf(png))) return nullptr;
        png_set_read_fn(png, this, readFromMemory);
        png_read_info(png, info);
        if (!fitsImage()) return nullptr;
        requestTransformations();
        png_set_interlace_handling(png);
        png_read_update_info(png, info);
        if (png_get_rowbytes(png, info) != png_get_image_width(png, info) * Image::bytesPerPixel) return nullptr;
        if (!allocate()) return nullptr;
        png_read_image(png, rows.data());
        return std::move(image);
    }

private:
    // Stops the library at the end of the data: a read beyond it fails the
    // decode instead of touching memory that is not the picture's.
    static void readFromMemory(png_structp png, png_bytep out, png_size_t count) {
        auto* self = static_cast<PngRead*>(png_get_io_ptr(png));
        if (count > self->remaining) png_error(png, "picture data ends early");
        std::memcpy(out, self->next, count);
        self->next += count;
        self->remaining -= count;
    }

    bool fitsImage() const {
        return Image::fitsDecodedPicture(png_get_image_width(png, info), png_get_image_height(png, info));
    }

    // Everything becomes 8-bit blue, green, red and a fourth byte: the alpha
    // where there is one, else a filler 0.
    void requestTransformations() {
        const int colourType = png_get_color_type(png, info);
        const int bitDepth = png_get_bit_depth(png, info);
        if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_expand(png);
        if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_expand(png);
        if (colourType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand(png);
        if (bitDepth == 16) png_set_strip_16(png);
        // Grey with alpha as well as plain grey: both must come out as colour.
        if ((colourType & PNG_COLOR_MASK_COLOR) == 0) png_set_gray_to_rgb(png);
        if ((colourType & PNG_COLOR_MASK_ALPHA) == 0) png_set_filler(png, 0, PNG_FILLER_AFTER);
        png_set_bgr(png);
    }

    // Row pointer r (top of the picture first) points at memory row
    // height − 1 − r, so the picture ends up bottom-up.
    bool allocate() {
        image = Image::createForOverwrite(static_cast<int>(png_get_image_width(png, info)),
                                          static_cast<int>(png_get_image_height(png, info)));
        if (!image) return false;
        rows.resize(static_cast<std::size_t>(image->height()));
        for (int r = 0; r < image->height(); ++r) rows[static_cast<std::size_t>(r)] = image->rowFromTop(r);
        return true;
    }

    png_structp png = nullptr;
    png_infop info = nullptr;
    const unsigned char* next;
    std::size_t remaining;
    std::unique_ptr<Image> image;
    std::vector<png_bytep> rows;
};

}  // namespace

std::unique_ptr<Image> decodePng(const unsigned char* data, std::size_t length) {
    if (!hasPngSignature(data, length)) return nullptr;
    try {
        PngRead read(data, length);
        return read.decode();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
