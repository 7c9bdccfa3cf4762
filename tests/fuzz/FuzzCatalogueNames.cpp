// The name rule, the wildcard match and the chapter order on arbitrary names, as
// a card's directory may hold them. The order must stay a strict ordering, or
// sorting the chapters would be undefined.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "recording/ChapterList.h"
#include "recording/RecordingFolder.h"
#include "recording/WildcardMatch.h"

namespace {

// Two-byte little-endian units, so that any 16-bit character can appear.
std::wstring wideText(const std::uint8_t* data, std::size_t size) {
    std::wstring text;
    for (std::size_t i = 0; i + 1 < size; i += 2) text.push_back(static_cast<wchar_t>(data[i] | (data[i + 1] << 8)));
    return text;
}

void checkOrder(const std::wstring& a, const std::wstring& b) {
    const bool ab = chapterPathBefore(a, b);
    const bool ba = chapterPathBefore(b, a);
    if (ab && ba) std::abort();
    if (a == b && (ab || ba)) std::abort();
    if (a != b && !ab && !ba) std::abort();  // distinct paths never tie
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::size_t half = size / 2 & ~std::size_t{1};
    const std::wstring first = wideText(data, half);
    const std::wstring second = wideText(data + half, size - half);

    wildcardMatches(first, second);
    for (int mode = 0; mode < 3; ++mode) {
        const std::wstring pattern = patternFor(mode);
        const bool named = nameMatches(pattern, second);
        if (named && mode == 2 && second.size() != 13) std::abort();
        if (named && !wildcardMatches(pattern, second) && mode != 0) std::abort();
    }
    checkOrder(first, second);
    return 0;
}
