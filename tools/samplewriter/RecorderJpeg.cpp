#include "tools/samplewriter/RecorderJpeg.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <optional>
#include <string>

extern "C" {
#include <jpeglib.h>
}

namespace samplewriter {
namespace {

constexpr std::uint8_t kMarkerStart = 0xD8;
constexpr std::uint8_t kMarkerHuffman = 0xC4;
constexpr std::uint8_t kMarkerBaseline = 0xC0;
constexpr std::uint8_t kMarkerScan = 0xDA;
constexpr std::uint8_t kMarkerComment = 0xFE;
constexpr std::size_t kCombinedTableLength = 0x01A2;
constexpr std::size_t kDestinationChunk = 64 * 1024;

// Table class/id bytes of the combined segment, in the recorder's order.
constexpr std::uint8_t kTableOrder[4] = {0x00, 0x01, 0x10, 0x11};

struct HuffmanTable {
    std::uint8_t classAndId = 0;
    Bytes counts;  // 16 code counts
    Bytes values;
};

// libjpeg's fatal errors become exceptions; the library is left through them
// only from inside jpeg_* calls made here, which own nothing to release.
[[noreturn]] void throwJpegError(j_common_ptr info) {
    char message[JMSG_LENGTH_MAX] = {};
    (*info->err->format_message)(info, message);
    throw JpegLayoutError(std::string("JPEG encoding failed: ") + message);
}

// A destination manager that grows a byte vector; written here rather than
// taken from the library so that any libjpeg release will do.
struct VectorDestination {
    jpeg_destination_mgr manager{};
    Bytes* out = nullptr;

    static VectorDestination* of(j_compress_ptr info) { return reinterpret_cast<VectorDestination*>(info->dest); }

    static void init(j_compress_ptr info) {
        VectorDestination* self = of(info);
        self->out->resize(kDestinationChunk);
        self->manager.next_output_byte = self->out->data();
        self->manager.free_in_buffer = self->out->size();
    }

    static boolean grow(j_compress_ptr info) {
        VectorDestination* self = of(info);
        const std::size_t used = self->out->size();
        self->out->resize(used + kDestinationChunk);
        self->manager.next_output_byte = self->out->data() + used;
        self->manager.free_in_buffer = kDestinationChunk;
        return TRUE;
    }

    static void finish(j_compress_ptr info) {
        VectorDestination* self = of(info);
        self->out->resize(self->out->size() - self->manager.free_in_buffer);
    }
};

class Compressor {
public:
    Compressor() {
        info_.err = jpeg_std_error(&errors_);
        errors_.error_exit = throwJpegError;
        jpeg_create_compress(&info_);
    }
    ~Compressor() { jpeg_destroy_compress(&info_); }
    Compressor(const Compressor&) = delete;
    Compressor& operator=(const Compressor&) = delete;

    jpeg_compress_struct& info() { return info_; }

private:
    jpeg_compress_struct info_{};
    jpeg_error_mgr errors_{};
};

HuffmanTable tableFrom(const JHUFF_TBL* table, std::uint8_t classAndId) {
    HuffmanTable result;
    result.classAndId = classAndId;
    result.counts.assign(table->bits + 1, table->bits + 17);
    std::size_t total = 0;
    for (std::uint8_t count : result.counts) total += count;
    result.values.assign(table->huffval, table->huffval + total);
    return result;
}

// The four tables of the JPEG standard's annex, as libjpeg installs them by default.
const std::vector<HuffmanTable>& standardTables() {
    static const std::vector<HuffmanTable> tables = [] {
        Compressor compressor;
        jpeg_compress_struct& info = compressor.info();
        info.in_color_space = JCS_RGB;
        info.input_components = 3;
        jpeg_set_defaults(&info);
        return std::vector<HuffmanTable>{
            tableFrom(info.dc_huff_tbl_ptrs[0], 0x00), tableFrom(info.dc_huff_tbl_ptrs[1], 0x01),
            tableFrom(info.ac_huff_tbl_ptrs[0], 0x10), tableFrom(info.ac_huff_tbl_ptrs[1], 0x11)};
    }();
    return tables;
}

Bytes combinedTableSegment() {
    Bytes segment = {0xFF, kMarkerHuffman, 0, 0};
    for (const HuffmanTable& table : standardTables()) {
        segment.push_back(table.classAndId);
        appendBytes(segment, table.counts);
        appendBytes(segment, table.values);
    }
    const std::size_t length = segment.size() - 2;
    if (length != kCombinedTableLength) throw JpegLayoutError("the library's standard tables are not the usual ones");
    segment[2] = static_cast<std::uint8_t>(length >> 8);
    segment[3] = static_cast<std::uint8_t>(length);
    return segment;
}

// Splits the content of one DHT segment into its tables.
void parseHuffmanSegment(const std::uint8_t* data, std::size_t size, std::vector<HuffmanTable>& tables) {
    std::size_t at = 0;
    while (at < size) {
        if (size - at < 17) throw JpegLayoutError("truncated Huffman table");
        HuffmanTable table;
        table.classAndId = data[at];
        table.counts.assign(data + at + 1, data + at + 17);
        at += 17;
        std::size_t total = 0;
        for (std::uint8_t count : table.counts) total += count;
        if (total > size - at) throw JpegLayoutError("truncated Huffman values");
        table.values.assign(data + at, data + at + total);
        at += total;
        tables.push_back(std::move(table));
    }
}

bool sameTable(const HuffmanTable& a, const HuffmanTable& b) {
    return a.classAndId == b.classAndId && a.counts == b.counts && a.values == b.values;
}

void requireStandardTables(std::vector<HuffmanTable> tables) {
    if (tables.size() != 4) throw JpegLayoutError("expected exactly four Huffman tables");
    for (const HuffmanTable& wanted : standardTables()) {
        const auto found = std::find_if(tables.begin(), tables.end(),
                                        [&](const HuffmanTable& t) { return t.classAndId == wanted.classAndId; });
        if (found == tables.end() || !sameTable(*found, wanted)) throw JpegLayoutError("not the standard tables");
    }
}

void requireColourBaseline(const std::uint8_t* content, std::size_t size) {
    // precision, height, width, component count
    if (size < 6 || content[5] != 3) throw JpegLayoutError("expected a three-component frame");
}

}  // namespace

Bytes toRecorderLayout(const Bytes& jpeg) {
    if (jpeg.size() < 4 || jpeg[0] != 0xFF || jpeg[1] != kMarkerStart) throw JpegLayoutError("no start marker");
    std::vector<HuffmanTable> tables;
    Bytes kept;
    bool sawFrame = false;
    std::size_t at = 2;
    for (;;) {
        if (jpeg.size() - at < 4 || jpeg[at] != 0xFF) throw JpegLayoutError("marker expected");
        const std::uint8_t marker = jpeg[at + 1];
        const std::size_t length = static_cast<std::size_t>(jpeg[at + 2]) << 8 | jpeg[at + 3];
        if (length < 2 || length > jpeg.size() - at - 2) throw JpegLayoutError("segment runs past the end");
        const std::uint8_t* content = jpeg.data() + at + 4;
        const std::size_t contentSize = length - 2;
        if (marker == kMarkerScan) {
            if (!sawFrame) throw JpegLayoutError("scan before frame header");
            requireStandardTables(tables);
            Bytes out = {0xFF, kMarkerStart};
            appendBytes(out, combinedTableSegment());
            appendBytes(out, kept);
            out.insert(out.end(), jpeg.begin() + static_cast<std::ptrdiff_t>(at), jpeg.end());
            return out;
        }
        if (marker == kMarkerHuffman) {
            parseHuffmanSegment(content, contentSize, tables);
        } else if ((marker >= 0xE0 && marker <= 0xEF) || marker == kMarkerComment) {
            // application and comment segments: the recorder writes none
        } else {
            if (marker >= 0xC1 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
                throw JpegLayoutError("not a baseline stream");
            if (marker == kMarkerBaseline) {
                requireColourBaseline(content, contentSize);
                sawFrame = true;
            }
            kept.insert(kept.end(), jpeg.begin() + static_cast<std::ptrdiff_t>(at),
                        jpeg.begin() + static_cast<std::ptrdiff_t>(at + 2 + length));
        }
        at += 2 + length;
    }
}

Bytes encodeRecorderJpeg(const RgbFrame& frame, int quality) {
    if (frame.width <= 0 || frame.height <= 0 ||
        frame.pixels.size() < static_cast<std::size_t>(frame.width) * static_cast<std::size_t>(frame.height) * 3)
        throw JpegLayoutError("empty or short frame");
    Bytes standard;
    Compressor compressor;
    jpeg_compress_struct& info = compressor.info();
    VectorDestination destination;
    destination.out = &standard;
    destination.manager.init_destination = VectorDestination::init;
    destination.manager.empty_output_buffer = VectorDestination::grow;
    destination.manager.term_destination = VectorDestination::finish;
    info.dest = &destination.manager;
    info.image_width = static_cast<JDIMENSION>(frame.width);
    info.image_height = static_cast<JDIMENSION>(frame.height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, std::clamp(quality, 1, 100), TRUE);
    info.write_JFIF_header = FALSE;
    info.optimize_coding = FALSE;
    info.dct_method = JDCT_ISLOW;         // exact integer transform: the same bytes on every platform
    info.comp_info[0].h_samp_factor = 2;  // 4:2:2, as motion pictures commonly are
    info.comp_info[0].v_samp_factor = 1;
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(frame.row(static_cast<int>(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    return toRecorderLayout(standard);
}

Bytes makePictureTag(std::uint8_t modelMajor, std::uint8_t modelMinor) {
    Bytes tag = {modelMajor, modelMinor};
    tag.insert(tag.end(), kSignature.begin(), kSignature.end());
    tag.push_back(0);
    tag.push_back(0);
    return tag;
}

Bytes makePicturePayload(const Bytes& recorderJpeg, std::uint8_t modelMajor, std::uint8_t modelMinor) {
    if (recorderJpeg.size() < kRecorderJpegStart.size() ||
        !std::equal(kRecorderJpegStart.begin(), kRecorderJpegStart.end(), recorderJpeg.begin()))
        throw JpegLayoutError("not a recorder-layout stream");
    Bytes payload = makePictureTag(modelMajor, modelMinor);
    payload.insert(payload.end(), recorderJpeg.begin() + kPictureTagSize, recorderJpeg.end());
    return payload;
}

}  // namespace samplewriter
