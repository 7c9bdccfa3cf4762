#include "maintenance/SettingsFileSource.h"

#include <algorithm>
#include <cstring>

#include "platform/File.h"

std::size_t SettingsFileSource::read(void* buffer, std::size_t count) {
    if (file_) return file_->read(buffer, count);
    const std::size_t available = std::min(count, size_ - position_);
    if (available > 0) std::memcpy(buffer, data_ + position_, available);
    position_ += available;
    return available;
}
