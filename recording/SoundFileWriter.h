#pragma once
// The restored sound as a RIFF WAVE file: 8-bit mono PCM at 11025 samples a
// second. The header is written with zero sizes first and rewritten by finish,
// so that a reader that stops half-way still leaves a valid file.
#include <cstdint>
#include <string>

#include "platform/File.h"

class SoundFileWriter {
public:
    static constexpr int kSampleRate = 11025;
    static constexpr std::size_t kHeaderSize = 44;

    // Creates (truncates) path and writes the header; false when it cannot.
    bool open(const std::wstring& path);
    bool isOpen() const { return file_.isOpen(); }

    // Appends samples; after a failed write nothing more is written, so the
    // header never claims samples that are not in the file.
    void write(const std::uint8_t* samples, std::size_t count);
    // Sample bytes in the file so far.
    std::int64_t written() const { return written_; }
    // Rewrites the header with the sizes and closes the file.
    void finish();

private:
    bool writeHeader(std::uint32_t dataSize);

    File file_;
    std::int64_t written_ = 0;
    bool failed_ = false;
};
