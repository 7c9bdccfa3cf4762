#include "recording/SoundRestorer.h"

#include <algorithm>

namespace {

constexpr std::uint8_t kSilence = 0x80;
// Gaps this short are jitter of the recorder's clock, not missing sound.
constexpr std::int64_t kSmallestGap = 16;
constexpr std::int64_t kMillisecondsPerSecond = 1000;

}  // namespace

void SoundRestorer::restore(std::vector<std::unique_ptr<FrameRecord>>& blocks) {
    if (blocks.empty()) return;
    std::stable_sort(blocks.begin(), blocks.end(), [](const auto& a, const auto& b) { return a->stamp < b->stamp; });
    const std::int64_t base = blocks.front()->stamp;
    for (std::size_t i = 0; i + 1 < blocks.size() && room() > 0; ++i) {
        const std::int64_t nextStart =
            (blocks[i + 1]->stamp - base) * SoundFileWriter::kSampleRate / kMillisecondsPerSecond;
        const std::int64_t gap = nextStart - writer_.written();
        if (gap <= kSmallestGap) continue;
        const std::int64_t length = std::min(gap, room());
        const std::int64_t first = std::min(length, kChunk);
        writeBlock(*blocks[i], first);
        writeSilence(length - first);
    }
    const FrameRecord& last = *blocks.back();
    if (room() > 0) {
        writeBlock(last, std::min({std::int64_t{last.soundBytes}, std::int64_t{last.payloadSize}, kChunk, room()}));
    }
}

// length bytes: the block's samples over a background of silence. Only the
// block's own payload is read, even when its sample count claims more.
void SoundRestorer::writeBlock(const FrameRecord& block, std::int64_t length) {
    if (length <= 0) return;
    chunk_.assign(static_cast<std::size_t>(length), kSilence);
    const std::int64_t samples =
        std::clamp<std::int64_t>(std::min<std::int64_t>(block.soundBytes, block.payloadSize), 0, length);
    if (samples > 0) source_.readAt(block.payloadOffset, chunk_.data(), static_cast<std::size_t>(samples));
    writer_.write(chunk_.data(), chunk_.size());
}

void SoundRestorer::writeSilence(std::int64_t length) {
    while (length > 0) {
        const std::int64_t piece = std::min(length, kChunk);
        chunk_.assign(static_cast<std::size_t>(piece), kSilence);
        writer_.write(chunk_.data(), chunk_.size());
        length -= piece;
    }
}
