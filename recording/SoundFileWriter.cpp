#include "recording/SoundFileWriter.h"

#include <cstring>

namespace {

constexpr std::uint32_t kFormatChunkSize = 16;
constexpr std::uint16_t kPcmFormat = 1;
constexpr std::uint16_t kChannels = 1;
constexpr std::uint16_t kBlockAlign = 1;
constexpr std::uint16_t kBitsPerSample = 8;
// RIFF size = data size + the header bytes after the RIFF size field.
constexpr std::uint32_t kRiffSizeOverData = 36;

void putLittle16(std::uint8_t* at, std::uint16_t value) {
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}

void putLittle32(std::uint8_t* at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace

bool SoundFileWriter::open(const std::wstring& path) {
    written_ = 0;
    failed_ = false;
    if (!file_.open(path, File::Mode::Create)) return false;
    if (!writeHeader(0)) {
        file_.close();
        return false;
    }
    return true;
}

void SoundFileWriter::write(const std::uint8_t* samples, std::size_t count) {
    if (failed_ || !file_.isOpen() || count == 0) return;
    if (file_.write(samples, count)) {
        written_ += static_cast<std::int64_t>(count);
    } else {
        failed_ = true;
    }
}

void SoundFileWriter::finish() {
    if (!file_.isOpen()) return;
    const auto dataSize = static_cast<std::uint32_t>(written_);
    if (!file_.seek(0) || !writeHeader(dataSize)) failed_ = true;
    file_.close();
}

bool SoundFileWriter::writeHeader(std::uint32_t dataSize) {
    std::uint8_t header[kHeaderSize];
    std::memcpy(header, "RIFF", 4);
    putLittle32(header + 4, dataSize + kRiffSizeOverData);
    std::memcpy(header + 8, "WAVE", 4);
    std::memcpy(header + 12, "fmt ", 4);
    putLittle32(header + 16, kFormatChunkSize);
    putLittle16(header + 20, kPcmFormat);
    putLittle16(header + 22, kChannels);
    putLittle32(header + 24, kSampleRate);
    putLittle32(header + 28, kSampleRate * kBlockAlign);
    putLittle16(header + 32, kBlockAlign);
    putLittle16(header + 34, kBitsPerSample);
    std::memcpy(header + 36, "data", 4);
    putLittle32(header + 40, dataSize);
    return file_.write(header, sizeof header);
}
