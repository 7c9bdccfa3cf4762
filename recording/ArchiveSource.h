#pragma once
// The bytes of an archive behind a small interface, so that the reader runs the
// same on a card file, on bytes in memory (tests) and on a fuzzer's input.
#include <cstddef>
#include <cstdint>

class ArchiveSource {
public:
    virtual ~ArchiveSource() = default;

    // Reads up to count bytes at offset; returns how many were read (fewer at
    // the end, 0 on failure or beyond the end).
    virtual std::size_t readAt(std::int64_t offset, void* buffer, std::size_t count) = 0;
    // Total size in bytes.
    virtual std::int64_t size() const = 0;
};
