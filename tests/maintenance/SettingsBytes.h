#pragma once
// Builders for settings-file bytes in tests, and whole-file reads and writes.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/File.h"

namespace settingsbytes {

using Bytes = std::vector<std::uint8_t>;

inline void seal(Bytes& bytes) {
    std::uint8_t check = 0;
    for (std::size_t i = bytes.size() - 7; i < bytes.size(); ++i) check ^= bytes[i];
    bytes.push_back(check);
}

// An item with a correct check byte unless badCheck.
inline Bytes item(std::uint16_t id, std::initializer_list<std::uint8_t> value, bool badCheck = false) {
    Bytes bytes{static_cast<std::uint8_t>(id >> 8), static_cast<std::uint8_t>(id & 0xFF)};
    for (std::uint8_t byte : value) bytes.push_back(byte);
    bytes.resize(7, 0xFF);
    seal(bytes);
    if (badCheck) bytes.back() ^= 0x01;
    return bytes;
}

inline Bytes header(std::uint8_t major = 2, std::uint8_t minor = 3) {
    Bytes bytes{0x00, 0x01, major, minor, 0xFF, 0xFF, 0xFF};
    seal(bytes);
    return bytes;
}

inline Bytes firmwarePrefix() {
    return Bytes(16, 0x5A);
}

inline Bytes join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

inline bool writeFile(const std::wstring& path, const Bytes& bytes) {
    File file;
    return file.open(path, File::Mode::Create) && file.write(bytes.data(), bytes.size());
}

inline Bytes readFile(const std::wstring& path) {
    File file;
    if (!file.open(path, File::Mode::Read)) return {};
    Bytes bytes(static_cast<std::size_t>(file.size()));
    bytes.resize(file.read(bytes.data(), bytes.size()));
    return bytes;
}

}  // namespace settingsbytes
