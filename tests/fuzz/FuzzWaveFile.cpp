// The strict WAVE reader on arbitrary bytes: what it accepts is 8-bit mono
// 11025 Hz PCM whose samples lie inside the input.
#include <cstdint>
#include <cstdlib>

#include "media/WaveFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    WaveFile wave;
    if (!WaveFile::parse(data, size, wave)) return 0;
    const WaveFile::Format& format = wave.format();
    if (format.channels != 1 || format.bitsPerSample != 8 || format.samplesPerSecond != 11025) std::abort();
    if (wave.samples().size() + WaveFile::headerSize > size) std::abort();
    return 0;
}
