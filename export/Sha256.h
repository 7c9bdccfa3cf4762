#pragma once
// SHA-256 (FIPS 180-4) of a byte stream fed in pieces: the checksums an export
// records so that anyone can later show its files and sources unaltered.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

class Sha256 {
public:
    using Digest = std::array<std::uint8_t, 32>;

    Sha256();
    void update(const void* data, std::size_t size);
    // Ends the stream; the object must not be updated afterwards.
    Digest finish();

    // Lower-case hexadecimal, 64 characters.
    static std::string toHex(const Digest& digest);
    // The checksum of a whole file; false when it cannot be read to the end.
    static bool ofFile(const std::wstring& path, std::string& hex, std::int64_t& size);

private:
    void compressBlock(const std::uint8_t* block);

    std::array<std::uint32_t, 8> state_;
    std::array<std::uint8_t, 64> pending_{};
    std::size_t pendingSize_ = 0;
    std::uint64_t totalBytes_ = 0;
};
