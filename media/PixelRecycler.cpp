#include "media/PixelRecycler.h"

#include <algorithm>

PixelRecycler& PixelRecycler::shared() {
    static PixelRecycler* const recycler = new PixelRecycler;
    return *recycler;
}

PixelRecycler::PixelRecycler() {
    kept_.reserve(buffersKept);
}

PixelRecycler::~PixelRecycler() {
    for (const Kept& kept : kept_) delete[] kept.buffer;
}

std::uint8_t* PixelRecycler::take(std::size_t size) {
    if (size >= smallestKept) {
        if (std::uint8_t* buffer = takeKept(size)) return buffer;
    }
    return new std::uint8_t[size];
}

std::uint8_t* PixelRecycler::takeKept(std::size_t size) {
    const std::lock_guard<std::mutex> hold(mutex_);
    const auto match = std::find_if(kept_.begin(), kept_.end(), [&](const Kept& kept) { return kept.size == size; });
    if (match == kept_.end()) return nullptr;
    std::uint8_t* buffer = match->buffer;
    kept_.erase(match);
    return buffer;
}

// When full, the oldest kept buffer makes room: the newest size is the one in use.
void PixelRecycler::give(std::uint8_t* buffer, std::size_t size) noexcept {
    if (!buffer) return;
    if (size < smallestKept) {
        delete[] buffer;
        return;
    }
    std::uint8_t* dropped = nullptr;
    {
        const std::lock_guard<std::mutex> hold(mutex_);
        if (kept_.size() == buffersKept) {
            dropped = kept_.front().buffer;
            kept_.erase(kept_.begin());
        }
        kept_.push_back(Kept{buffer, size});
    }
    delete[] dropped;
}

std::size_t PixelRecycler::keptCount() {
    const std::lock_guard<std::mutex> hold(mutex_);
    return kept_.size();
}
