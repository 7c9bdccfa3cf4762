#pragma once
// Puts the sound blocks of an archive back together on the recorder's clock:
// each block starts where its stamp says, is cut where the next one starts and
// at 10000 bytes, and the space up to the next block is silence.
#include <cstdint>
#include <memory>
#include <vector>

#include "recording/ArchiveSource.h"
#include "recording/FrameRecord.h"
#include "recording/SoundFileWriter.h"

class SoundRestorer {
public:
    // Longest piece taken from one block, and the largest write.
    static constexpr std::int64_t kChunk = 10000;
    // Stamps that jump (a clock that wrapped, garbage) must not fill the disk
    // with silence: the sound is cut at three minutes, three times the longest
    // recording the recorder makes.
    static constexpr std::int64_t kMaxSamples = 3 * 60 * SoundFileWriter::kSampleRate;

    SoundRestorer(ArchiveSource& source, SoundFileWriter& writer) : source_(source), writer_(writer) {}

    // Sorts blocks by stamp (stable) and writes them.
    void restore(std::vector<std::unique_ptr<FrameRecord>>& blocks);

private:
    void writeBlock(const FrameRecord& block, std::int64_t length);
    void writeSilence(std::int64_t length);
    std::int64_t room() const { return kMaxSamples - writer_.written(); }

    ArchiveSource& source_;
    SoundFileWriter& writer_;
    std::vector<std::uint8_t> chunk_;
};
