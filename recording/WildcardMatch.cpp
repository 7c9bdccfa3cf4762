#include "recording/WildcardMatch.h"

namespace {

wchar_t upperAscii(wchar_t c) {
    return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

bool sameLetter(wchar_t a, wchar_t b) {
    return upperAscii(a) == upperAscii(b);
}

}  // namespace

// Greedy matching with one remembered '*': linear in practice and never worse
// than pattern length × name length, so a hostile name cannot stall a scan.
bool wildcardMatches(const std::wstring& pattern, const std::wstring& name) {
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t starAt = std::wstring::npos;
    std::size_t resumeAt = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == L'*') {
            starAt = p++;
            resumeAt = n;
        } else if (p < pattern.size() && (pattern[p] == L'?' || sameLetter(pattern[p], name[n]))) {
            ++p;
            ++n;
        } else if (starAt != std::wstring::npos) {
            p = starAt + 1;
            n = ++resumeAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == L'*') ++p;
    return p == pattern.size();
}
