#pragma once
// The bytes of a settings or firmware information file, read front to back,
// from an open file on the card or from memory (tests, the fuzzer).
#include <cstddef>
#include <cstdint>

class File;

class SettingsFileSource {
public:
    explicit SettingsFileSource(File& file) : file_(&file) {}
    SettingsFileSource(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    // Bytes actually read: fewer than count at the end or on a failure.
    std::size_t read(void* buffer, std::size_t count);

private:
    File* file_ = nullptr;
    const std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t position_ = 0;
};
