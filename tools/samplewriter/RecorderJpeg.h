#pragma once
// JPEG streams in the recorder's layout and the stored picture payload.
//
// The recorder opens every stream with the start marker followed at once by ONE
// Huffman-table segment of length 0x01A2 holding the four standard tables, so
// its first 16 bytes never vary; a stored payload drops them and carries the
// 16-byte tag (model code and signature) in their place.
#include <array>
#include <cstdint>
#include <stdexcept>
#include <vector>

#include "tools/samplewriter/RecorderBlocks.h"
#include "tools/samplewriter/RgbFrame.h"

namespace samplewriter {

inline constexpr std::array<std::uint8_t, 16> kRecorderJpegStart = {0xFF, 0xD8, 0xFF, 0xC4, 0x01, 0xA2, 0x00, 0x00,
                                                                    0x01, 0x05, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01};

inline constexpr std::array<std::uint8_t, 12> kSignature = {'V', 'O', 'R', 'N', 'I', 'Q', '-', 'T', 'E', 'C', 'H', '.'};

class JpegLayoutError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Encodes a colour frame (baseline, standard Huffman tables, 4:2:2 sampling,
// quality 1-100) straight into the recorder's layout.
Bytes encodeRecorderJpeg(const RgbFrame& frame, int quality);

// Rewrites a baseline three-component stream coded with the standard Huffman
// tables into the recorder's layout: drops application and comment segments,
// gathers the four tables into one segment right after the start marker.
// Throws JpegLayoutError when the stream is not of that kind.
Bytes toRecorderLayout(const Bytes& jpeg);

// Model code major, minor, the 12 signature bytes and two zero bytes.
Bytes makePictureTag(std::uint8_t modelMajor, std::uint8_t modelMinor);

// A recorder-layout stream with its first 16 bytes replaced by the tag.
// Throws JpegLayoutError when the stream does not start with kRecorderJpegStart.
Bytes makePicturePayload(const Bytes& recorderJpeg, std::uint8_t modelMajor, std::uint8_t modelMinor);

}  // namespace samplewriter
