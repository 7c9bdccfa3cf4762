#pragma once
// The sample data of one open sound, cut into output chunks of 200 ms and
// brought to the user's volume as each chunk is written. Chunks end on
// multiples of the chunk size counted from the start of the data, so the
// first chunk after a seek is the shorter one. Byte offsets and times convert
// through the sound's block alignment and sample rate.
#include <cstdint>
#include <vector>

class SoundBuffer {
public:
    struct Chunk {
        std::uint32_t start = 0;
        std::uint32_t end = 0;
        std::uint32_t count = 0;  // bytes to write; 0 when the data is exhausted
    };

    static constexpr int maximumVolume = 16;  // the unchanged level

    SoundBuffer() = default;
    SoundBuffer(std::vector<std::uint8_t> samples, std::uint16_t blockAlign, std::uint32_t samplesPerSecond);

    std::uint32_t size() const { return static_cast<std::uint32_t>(samples_.size()); }
    std::uint32_t chunkSize() const { return chunkSize_; }
    // Block alignment × sample rate × 1000: bytes per 1000 seconds.
    std::uint32_t scaledByteRate() const { return blockAlign_ * samplesPerSecond_ * 1000u; }

    // The chunk that starts at position. The last sample byte is never part of
    // a chunk: positions and chunk ends stop at size − 1.
    Chunk chunkAt(std::uint32_t position) const;
    // The chunk's samples at the volume (0 … 16) into out, which holds chunk.count bytes.
    void convert(const Chunk& chunk, int volume, std::uint8_t* out) const;
    static std::uint8_t scaleSample(std::uint8_t sample, int volume);

    // The byte offset at which a play request for startMs begins: whole blocks, within the data.
    std::uint32_t offsetOfTime(std::int32_t startMs) const;
    // Milliseconds of sound in the first bytes of the data.
    std::int32_t timeOfOffset(std::uint64_t bytes) const;
    // A position reported by the device, held within the data.
    std::uint32_t clampToData(std::int64_t bytes) const;

private:
    std::uint32_t lastPosition() const { return samples_.empty() ? 0 : size() - 1; }

    std::vector<std::uint8_t> samples_;
    std::uint32_t blockAlign_ = 0;
    std::uint32_t samplesPerSecond_ = 0;
    std::uint32_t chunkSize_ = 0;
};
