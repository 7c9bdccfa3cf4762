#pragma once
// Archive bytes already in memory as an ArchiveSource: tests and fuzz targets
// feed the reader without a file. The bytes are copied, so the source may
// outlive the caller's buffer.
#include <cstdint>
#include <vector>

#include "recording/ArchiveSource.h"

class MemorySource : public ArchiveSource {
public:
    explicit MemorySource(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}
    MemorySource(const std::uint8_t* data, std::size_t size) : bytes_(data, data + size) {}

    std::size_t readAt(std::int64_t offset, void* buffer, std::size_t count) override;
    std::int64_t size() const override { return static_cast<std::int64_t>(bytes_.size()); }

private:
    std::vector<std::uint8_t> bytes_;
};
