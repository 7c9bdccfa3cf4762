#include "recording/MemorySource.h"

#include <algorithm>
#include <cstring>

std::size_t MemorySource::readAt(std::int64_t offset, void* buffer, std::size_t count) {
    if (offset < 0 || offset >= size()) return 0;
    const std::size_t start = static_cast<std::size_t>(offset);
    const std::size_t available = std::min(count, bytes_.size() - start);
    std::memcpy(buffer, bytes_.data() + start, available);
    return available;
}
