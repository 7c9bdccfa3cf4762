// The recorder's JPEG layout, checked byte by byte against the standard tables
// and round-tripped through libjpeg's own decoder.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

extern "C" {
#include <jpeglib.h>
}

#include "tools/samplewriter/RecorderJpeg.h"
#include "tools/samplewriter/RoadScene.h"

using namespace samplewriter;

namespace {

[[noreturn]] void throwOnError(j_common_ptr) {
    throw std::runtime_error("libjpeg error");
}

RgbFrame decode(const Bytes& jpeg) {
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    errors.error_exit = throwOnError;
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    RgbFrame frame(static_cast<int>(info.output_width), static_cast<int>(info.output_height));
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = frame.row(static_cast<int>(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return frame;
}

struct EncoderSettings {
    bool jfif = true;
    bool optimise = false;
    bool progressive = false;
    bool grey = false;
};

// libjpeg's ordinary output, which the recorder layout is made from.
Bytes encodeStandard(const RgbFrame& frame, const EncoderSettings& settings) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    errors.error_exit = throwOnError;
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(frame.width);
    info.image_height = static_cast<JDIMENSION>(frame.height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    if (settings.grey) jpeg_set_colorspace(&info, JCS_GRAYSCALE);
    info.write_JFIF_header = settings.jfif ? TRUE : FALSE;
    info.optimize_coding = settings.optimise ? TRUE : FALSE;
    if (settings.progressive) jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(frame.row(static_cast<int>(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    Bytes out(buffer, buffer + size);
    std::free(buffer);
    jpeg_destroy_compress(&info);
    return out;
}

RgbFrame scene(int width, int height) {
    SceneMoment moment;
    moment.seconds = 3.5;
    moment.frameText = "#0105";
    moment.timeText = "2009/06/15 14:30:12";
    return RoadScene(width, height).render(moment);
}

Bytes slice(const Bytes& bytes, std::size_t from, std::size_t count) {
    return Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(from),
                 bytes.begin() + static_cast<std::ptrdiff_t>(from + count));
}

double meanDifference(const RgbFrame& a, const RgbFrame& b) {
    double total = 0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i) total += std::abs(a.pixels[i] - b.pixels[i]);
    return total / static_cast<double>(a.pixels.size());
}

}  // namespace

// The combined segment holds DC 0, DC 1, AC 0, AC 1 of the standard's annex in
// that order, and ends exactly where its length says, at the quantisation tables.
TEST(RecorderJpeg, StreamOpensWithTheCombinedStandardTables) {
    const Bytes jpeg = encodeRecorderJpeg(scene(64, 48), 75);
    ASSERT_GT(jpeg.size(), 0x1A6u);
    EXPECT_EQ(slice(jpeg, 0, 16), Bytes(kRecorderJpegStart.begin(), kRecorderJpegStart.end()));
    EXPECT_EQ(slice(jpeg, 35, 17), (Bytes{0x01, 0, 3, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0}));
    EXPECT_EQ(slice(jpeg, 64, 33), (Bytes{0x10, 0,    2,    1,    3,    3,    2,    4,    3,    5,    5,
                                          4,    4,    0,    0,    1,    0x7D, 0x01, 0x02, 0x03, 0x00, 0x04,
                                          0x11, 0x05, 0x12, 0x21, 0x31, 0x41, 0x06, 0x13, 0x51, 0x61, 0x07}));
    EXPECT_EQ(slice(jpeg, 243, 33), (Bytes{0x11, 0,    2,    1,    2,    4,    4,    3,    4,    7,    5,
                                           4,    4,    0,    1,    2,    0x77, 0x00, 0x01, 0x02, 0x03, 0x11,
                                           0x04, 0x05, 0x21, 0x31, 0x06, 0x12, 0x41, 0x51, 0x07, 0x61, 0x71}));
    EXPECT_EQ(slice(jpeg, 0x1A6, 2), (Bytes{0xFF, 0xDB}));
    EXPECT_EQ(slice(jpeg, jpeg.size() - 2, 2), (Bytes{0xFF, 0xD9}));
}

// After the tables come only quantisation tables, the frame header and the
// scan: no application segment and no second table segment.
TEST(RecorderJpeg, SegmentsAfterTheTablesAreQuantisationFrameAndScan) {
    const Bytes jpeg = encodeRecorderJpeg(scene(33, 17), 60);
    std::vector<std::uint8_t> markers;
    std::size_t at = 2;
    while (at + 4 <= jpeg.size() && jpeg[at] == 0xFF) {
        markers.push_back(jpeg[at + 1]);
        if (jpeg[at + 1] == 0xDA) break;
        at += 2 + (static_cast<std::size_t>(jpeg[at + 2]) << 8 | jpeg[at + 3]);
    }
    ASSERT_GE(markers.size(), 4u);
    EXPECT_EQ(markers.front(), 0xC4);
    EXPECT_EQ(markers.back(), 0xDA);
    EXPECT_EQ(markers[markers.size() - 2], 0xC0);
    for (std::size_t i = 1; i + 2 < markers.size(); ++i) EXPECT_EQ(markers[i], 0xDB);
}

TEST(RecorderJpeg, DecodesWithLibjpegToThePictureDrawn) {
    for (auto [width, height] : {std::pair{640, 480}, std::pair{33, 17}, std::pair{1, 1}}) {
        const RgbFrame original = scene(width, height);
        const RgbFrame decoded = decode(encodeRecorderJpeg(original, 90));
        ASSERT_EQ(decoded.width, width);
        ASSERT_EQ(decoded.height, height);
        if (width > 8) EXPECT_LT(meanDifference(original, decoded), 8.0) << width << " x " << height;
    }
}

// Rearranging segments must not touch the coded data: the same pixels come out.
TEST(RecorderJpeg, LayoutOfAnOrdinaryStreamDecodesIdentically) {
    const Bytes ordinary = encodeStandard(scene(96, 64), EncoderSettings{});
    ASSERT_EQ(ordinary[3], 0xE0);  // libjpeg wrote its JFIF segment
    const Bytes recorder = toRecorderLayout(ordinary);
    EXPECT_EQ(slice(recorder, 0, 16), Bytes(kRecorderJpegStart.begin(), kRecorderJpegStart.end()));
    EXPECT_EQ(decode(recorder).pixels, decode(ordinary).pixels);
}

TEST(RecorderJpeg, RefusesStreamsThatCannotTakeTheFixedStart) {
    const RgbFrame frame = scene(32, 32);
    EncoderSettings optimised;
    optimised.optimise = true;
    EncoderSettings progressive;
    progressive.progressive = true;
    EncoderSettings grey;
    grey.grey = true;
    EXPECT_THROW(toRecorderLayout(encodeStandard(frame, optimised)), JpegLayoutError);
    EXPECT_THROW(toRecorderLayout(encodeStandard(frame, progressive)), JpegLayoutError);
    EXPECT_THROW(toRecorderLayout(encodeStandard(frame, grey)), JpegLayoutError);
    const Bytes ordinary = encodeStandard(frame, EncoderSettings{});
    EXPECT_THROW(toRecorderLayout(slice(ordinary, 0, 300)), JpegLayoutError);
    EXPECT_THROW(toRecorderLayout(Bytes{0xFF, 0xD8}), JpegLayoutError);
    EXPECT_THROW(toRecorderLayout(Bytes{}), JpegLayoutError);
}

// The payload is the stream with its first 16 bytes replaced by the tag, so a
// reader that puts the fixed bytes back gets a decodable stream.
TEST(RecorderJpeg, PayloadCarriesTheTagInPlaceOfTheFixedStart) {
    const Bytes jpeg = encodeRecorderJpeg(scene(48, 32), 70);
    const Bytes payload = makePicturePayload(jpeg, 2, 3);
    ASSERT_EQ(payload.size(), jpeg.size());
    EXPECT_EQ(slice(payload, 0, 16), (Bytes{2, 3, 'V', 'O', 'R', 'N', 'I', 'Q', '-', 'T', 'E', 'C', 'H', '.', 0, 0}));
    EXPECT_EQ(slice(payload, 16, payload.size() - 16), slice(jpeg, 16, jpeg.size() - 16));
    EXPECT_THROW(makePicturePayload(Bytes(jpeg.begin() + 1, jpeg.end()), 2, 3), JpegLayoutError);
}
