#pragma once
// WAVE files for the sound tests: the 44-byte header the archive reader writes,
// with one field or piece changed where a test needs a refused file, and
// noise samples that are never silence (128), so that a test can tell the
// sound from the silence a device plays while it waits for data.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/File.h"

struct TestWave {
    std::uint16_t formatTag = 1;
    std::uint16_t channels = 1;
    std::uint32_t samplesPerSecond = 11025;
    std::uint16_t blockAlign = 1;
    std::uint16_t bitsPerSample = 8;
    std::uint32_t formatChunkSize = 16;
    std::string chunkBeforeData;  // a whole chunk (tag, size, body) between "fmt " and "data"
    std::vector<std::uint8_t> samples;

    static std::vector<std::uint8_t> noise(std::size_t count, std::uint32_t state = 12345) {
        std::vector<std::uint8_t> out(count);
        for (std::uint8_t& byte : out) {
            state = state * 1103515245u + 12345u;
            byte = static_cast<std::uint8_t>(state >> 16);
            if (byte == 128) byte = 129;
        }
        return out;
    }

    std::vector<std::uint8_t> bytes() const {
        std::vector<std::uint8_t> out;
        auto tag = [&](const char* text) {
            for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(text[i]));
        };
        auto little = [&](std::uint32_t value, int size) {
            for (int i = 0; i < size; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
        };
        const auto dataSize = static_cast<std::uint32_t>(samples.size());
        tag("RIFF");
        little(dataSize + 36 + static_cast<std::uint32_t>(chunkBeforeData.size()), 4);
        tag("WAVE");
        tag("fmt ");
        little(formatChunkSize, 4);
        little(formatTag, 2);
        little(channels, 2);
        little(samplesPerSecond, 4);
        little(samplesPerSecond * blockAlign, 4);
        little(blockAlign, 2);
        little(bitsPerSample, 2);
        out.insert(out.end(), chunkBeforeData.begin(), chunkBeforeData.end());
        tag("data");
        little(dataSize, 4);
        out.insert(out.end(), samples.begin(), samples.end());
        return out;
    }

    bool write(const std::wstring& path) const {
        const std::vector<std::uint8_t> content = bytes();
        File file;
        return file.open(path, File::Mode::Create) && file.write(content.data(), content.size());
    }
};
