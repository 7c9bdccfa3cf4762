#include "media/WaveFile.h"

#include <algorithm>
#include <cstring>

#include "app/Exception.h"
#include "platform/File.h"

namespace {

// Header layout: fixed pieces in this order, nothing between them.
constexpr std::size_t kRiffTagAt = 0;
constexpr std::size_t kWaveTagAt = 8;
constexpr std::size_t kFormatTagAt = 12;
constexpr std::size_t kFormatCodeAt = 20;
constexpr std::size_t kChannelsAt = 22;
constexpr std::size_t kSamplesPerSecondAt = 24;
constexpr std::size_t kAverageBytesPerSecondAt = 28;
constexpr std::size_t kBlockAlignAt = 32;
constexpr std::size_t kBitsPerSampleAt = 34;
constexpr std::size_t kDataTagAt = 36;
constexpr std::size_t kDataSizeAt = 40;

constexpr std::uint16_t kPcm = 1;
constexpr std::uint16_t kMono = 1;
constexpr std::uint32_t kSampleRate = 11025;
constexpr std::uint16_t kBlockAlign = 1;

// Large reads go in pieces so that no single system call is asked for more than it can take.
constexpr std::size_t kReadPiece = 1 << 20;

std::uint16_t little16(const std::uint8_t* at) {
    return static_cast<std::uint16_t>(at[0] | at[1] << 8);
}

std::uint32_t little32(const std::uint8_t* at) {
    return static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
           static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}

bool hasTag(const std::uint8_t* at, const char* tag) {
    return std::memcmp(at, tag, 4) == 0;
}

bool readFully(File& file, std::uint8_t* buffer, std::size_t count) {
    while (count > 0) {
        const std::size_t piece = std::min(count, kReadPiece);
        if (file.read(buffer, piece) != piece) return false;
        buffer += piece;
        count -= piece;
    }
    return true;
}

}  // namespace

bool WaveFile::readHeader(const std::uint8_t* header, std::uint32_t& dataSize) {
    if (!hasTag(header + kRiffTagAt, "RIFF") || !hasTag(header + kWaveTagAt, "WAVE") ||
        !hasTag(header + kFormatTagAt, "fmt ")) {
        return false;
    }
    format_.formatTag = little16(header + kFormatCodeAt);
    format_.channels = little16(header + kChannelsAt);
    format_.samplesPerSecond = little32(header + kSamplesPerSecondAt);
    format_.averageBytesPerSecond = little32(header + kAverageBytesPerSecondAt);
    format_.blockAlign = little16(header + kBlockAlignAt);
    format_.bitsPerSample = little16(header + kBitsPerSampleAt);
    if (format_.formatTag != kPcm || format_.channels != kMono || format_.samplesPerSecond != kSampleRate ||
        format_.blockAlign != kBlockAlign) {
        return false;
    }
    // A further chunk before the samples (a longer format chunk, "fact", "LIST") lands here.
    if (!hasTag(header + kDataTagAt, "data")) return false;
    dataSize = little32(header + kDataSizeAt);
    return true;
}

bool WaveFile::parse(const std::uint8_t* bytes, std::size_t size, WaveFile& out) {
    WaveFile result;
    std::uint32_t dataSize = 0;
    if (size < headerSize || !result.readHeader(bytes, dataSize)) return false;
    if (dataSize > size - headerSize) return false;
    result.samples_.assign(bytes + headerSize, bytes + headerSize + dataSize);
    out = std::move(result);
    return true;
}

WaveFile WaveFile::load(const std::wstring& path) {
    File file;
    if (!file.open(path, File::Mode::Read)) throw Exception(path);
    std::uint8_t header[headerSize];
    WaveFile result;
    std::uint32_t dataSize = 0;
    if (file.read(header, headerSize) != headerSize || !result.readHeader(header, dataSize)) throw Exception(path);
    // The size is checked against the file before anything is allocated for it.
    const std::int64_t fileSize = file.size();
    if (fileSize >= 0 && static_cast<std::uint64_t>(dataSize) > static_cast<std::uint64_t>(fileSize) - headerSize) {
        throw Exception(path);
    }
    result.samples_.resize(dataSize);
    if (!readFully(file, result.samples_.data(), dataSize)) throw Exception(path);
    return result;
}
