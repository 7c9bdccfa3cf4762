#include "recording/SignatureSearch.h"

#include <algorithm>
#include <cstring>
#include <functional>

#include "recording/PictureTag.h"

namespace {

// Twice the search span, so that the window is refilled only after the walk
// has moved on by a whole span.
constexpr std::int64_t kWindowSize = 2 * SignatureSearch::kSearchSpan;

}  // namespace

std::size_t SignatureSearch::read(std::int64_t offset, std::uint8_t* buffer, std::size_t count) {
    const auto wanted = static_cast<std::int64_t>(count);
    if (windowHolds(offset, wanted)) {
        const std::int64_t available = windowStart_ + static_cast<std::int64_t>(window_.size()) - offset;
        const std::size_t copied = static_cast<std::size_t>(std::min(wanted, available));
        std::memcpy(buffer, window_.data() + (offset - windowStart_), copied);
        return copied;
    }
    return source_.readAt(offset, buffer, count);
}

bool SignatureSearch::find(std::int64_t from, std::int64_t& found) {
    if (!windowHolds(from, kSearchSpan)) fillWindow(from);
    const std::int64_t windowEnd = windowStart_ + static_cast<std::int64_t>(window_.size());
    const std::int64_t available = std::min(kSearchSpan, windowEnd - from);
    const auto& pattern = pictureTag::kSignaturePattern;
    if (available < static_cast<std::int64_t>(pattern.size())) return false;
    const std::uint8_t* first = window_.data() + (from - windowStart_);
    const std::uint8_t* last = first + available;
    const std::uint8_t* hit =
        std::search(first, last, std::boyer_moore_horspool_searcher(pattern.begin(), pattern.end()));
    if (hit == last) return false;
    found = from + (hit - first);
    return true;
}

// True when the window holds [offset, offset + count), or all of it that the
// file has.
bool SignatureSearch::windowHolds(std::int64_t offset, std::int64_t count) const {
    const std::int64_t windowEnd = windowStart_ + static_cast<std::int64_t>(window_.size());
    if (window_.empty() || offset < windowStart_ || offset > windowEnd) return false;
    return offset + count <= windowEnd || windowReachesEnd_;
}

void SignatureSearch::fillWindow(std::int64_t from) {
    // No larger than what the file still holds, so a small file costs little.
    const std::int64_t remaining = std::max<std::int64_t>(source_.size() - from, 0);
    window_.resize(static_cast<std::size_t>(std::min(kWindowSize, remaining)));
    const std::size_t got = window_.empty() ? 0 : source_.readAt(from, window_.data(), window_.size());
    window_.resize(got);
    windowStart_ = from;
    windowReachesEnd_ = static_cast<std::int64_t>(got) < kWindowSize;
}
