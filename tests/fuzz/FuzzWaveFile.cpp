// The strict WAVE reader on arbitrary bytes: what it accepts is mono 11025 Hz
// PCM with one byte a block, whose samples lie inside the input. (The bits per
// sample are only stored; the sound device refuses an odd value at open.)
#include <cstdint>
#include <cstdlib>

#include "media/WaveFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    WaveFile wave;
    if (!WaveFile::parse(data, size, wave)) return 0;
    const WaveFile::Format& format = wave.format();
    if (format.formatTag != 1 || format.channels != 1 || format.blockAlign != 1 || format.samplesPerSecond != 11025) {
        std::abort();
    }
    if (wave.samples().size() + WaveFile::headerSize > size) std::abort();
    return 0;
}
