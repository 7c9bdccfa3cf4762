#pragma once
// The stored JPEG of a frame slot as the archive reader restores it for
// decoding (its 16 leading bytes put back), read straight from the archive
// file: an export hands on the recorder's own bytes, never a re-encoding.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "recording/ArchiveSource.h"

struct FrameRecord;

class PictureRestorer {
public:
    // False when the file cannot be opened.
    bool open(const std::wstring& path);
    void open(std::unique_ptr<ArchiveSource> source) { source_ = std::move(source); }
    // False, with jpeg untouched, where the viewer would get no picture: a
    // payload of 16 bytes or less or above 1 MiB, a short read, a foreign tag.
    bool restore(const FrameRecord& record, std::vector<std::uint8_t>& jpeg);

private:
    std::unique_ptr<ArchiveSource> source_;
    std::vector<std::uint8_t> scratch_;
};
