#pragma once
// Reads for the block walk through a window of the file, and the search for the
// next picture tag after a damaged stretch. The window keeps the search linear:
// a file packed with tags that each lead nowhere costs each byte a few reads,
// not a fresh megabyte per tag.
#include <cstdint>
#include <vector>

#include "recording/ArchiveSource.h"

class SignatureSearch {
public:
    // How far ahead of the damaged place a tag is looked for.
    static constexpr std::int64_t kSearchSpan = 1048576;

    explicit SignatureSearch(ArchiveSource& source) : source_(source) {}

    // Bytes at offset, from the window when it holds them.
    std::size_t read(std::int64_t offset, std::uint8_t* buffer, std::size_t count);
    // Offset of the first signature pattern lying wholly within the kSearchSpan
    // bytes from `from`; false when there is none.
    bool find(std::int64_t from, std::int64_t& found);

private:
    bool windowHolds(std::int64_t offset, std::int64_t count) const;
    void fillWindow(std::int64_t from);

    ArchiveSource& source_;
    std::vector<std::uint8_t> window_;
    std::int64_t windowStart_ = 0;
    bool windowReachesEnd_ = false;
};
