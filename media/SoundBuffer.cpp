#include "media/SoundBuffer.h"

#include <algorithm>

namespace {

constexpr std::uint32_t kChunksPerSecond = 5;  // 200 ms of sound per output buffer
constexpr int kSilence = 128;                  // unsigned 8-bit samples

}  // namespace

SoundBuffer::SoundBuffer(std::vector<std::uint8_t> samples, std::uint16_t blockAlign, std::uint32_t samplesPerSecond)
    : samples_(std::move(samples)),
      blockAlign_(blockAlign),
      samplesPerSecond_(samplesPerSecond),
      chunkSize_(blockAlign * samplesPerSecond / kChunksPerSecond) {}

SoundBuffer::Chunk SoundBuffer::chunkAt(std::uint32_t position) const {
    Chunk chunk;
    chunk.start = std::min(position, lastPosition());
    chunk.end = chunk.start;
    if (chunkSize_ == 0) return chunk;
    const std::uint64_t nextBoundary = (static_cast<std::uint64_t>(chunk.start) / chunkSize_ + 1) * chunkSize_;
    chunk.end = static_cast<std::uint32_t>(std::min<std::uint64_t>(nextBoundary, lastPosition()));
    chunk.count = std::min(chunk.end - chunk.start, chunkSize_);
    return chunk;
}

std::uint8_t SoundBuffer::scaleSample(std::uint8_t sample, int volume) {
    // Integer division truncates toward zero, as the level must for samples below silence.
    return static_cast<std::uint8_t>((sample - kSilence) * volume / maximumVolume + kSilence);
}

void SoundBuffer::convert(const Chunk& chunk, int volume, std::uint8_t* out) const {
    if (chunk.count == 0 || chunk.start >= size() || chunk.count > size() - chunk.start) return;
    const std::uint8_t* in = samples_.data() + chunk.start;
    if (volume == maximumVolume) {
        std::copy(in, in + chunk.count, out);
        return;
    }
    for (std::uint32_t i = 0; i < chunk.count; ++i) out[i] = scaleSample(in[i], volume);
}

std::uint32_t SoundBuffer::offsetOfTime(std::int32_t startMs) const {
    if (startMs <= 0 || blockAlign_ == 0) return 0;
    // 64-bit, so that a start far beyond the end cannot wrap round to an earlier place.
    const std::uint64_t bytes = static_cast<std::uint64_t>(blockAlign_) * samplesPerSecond_ * startMs / 1000;
    const auto clamped = static_cast<std::uint32_t>(std::min<std::uint64_t>(bytes, lastPosition()));
    return clamped - clamped % blockAlign_;
}

std::int32_t SoundBuffer::timeOfOffset(std::uint64_t bytes) const {
    if (blockAlign_ == 0 || samplesPerSecond_ == 0) return 0;
    return static_cast<std::int32_t>(bytes / blockAlign_ * 1000 / samplesPerSecond_);
}

std::uint32_t SoundBuffer::clampToData(std::int64_t bytes) const {
    if (bytes <= 0) return 0;
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(static_cast<std::uint64_t>(bytes), lastPosition()));
}
