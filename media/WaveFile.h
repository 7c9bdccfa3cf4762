#pragma once
// The restored sound of a recording as a strict RIFF WAVE reader: the 44-byte
// header that the archive reader writes (format chunk directly followed by the
// data chunk), 8-bit mono PCM at 11025 samples a second, and nothing else.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class WaveFile {
public:
    struct Format {
        std::uint16_t formatTag = 0;
        std::uint16_t channels = 0;
        std::uint32_t samplesPerSecond = 0;
        std::uint32_t averageBytesPerSecond = 0;
        std::uint16_t blockAlign = 0;
        std::uint16_t bitsPerSample = 0;
    };

    static constexpr std::size_t headerSize = 44;

    // Reads the whole file, shared with other readers and writers. A file that
    // cannot be read or is not the accepted format throws Exception carrying the path.
    static WaveFile load(const std::wstring& path);
    // The same checks on bytes in memory; false when they are refused.
    static bool parse(const std::uint8_t* bytes, std::size_t size, WaveFile& out);

    const Format& format() const { return format_; }
    const std::vector<std::uint8_t>& samples() const { return samples_; }
    std::vector<std::uint8_t> takeSamples() { return std::move(samples_); }

private:
    // Checks the header and fills format_; the data size is returned through dataSize.
    bool readHeader(const std::uint8_t* header, std::uint32_t& dataSize);

    Format format_;
    std::vector<std::uint8_t> samples_;
};
