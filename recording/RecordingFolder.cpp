#include "recording/RecordingFolder.h"

#include "platform/FileSystem.h"
#include "recording/WildcardMatch.h"

namespace {

const wchar_t kEventPattern[] = L"Video.dvt";
const wchar_t kOneShotPattern[] = L"*.dpc";
const wchar_t kChapterPattern[] = L"Video????.dmv";

constexpr std::size_t kSuffixLength = 4;
constexpr std::size_t kChapterNameLength = 13;
constexpr std::size_t kChapterDigitsAt = 5;
constexpr std::size_t kChapterDigitCount = 4;

wchar_t upperAscii(wchar_t c) {
    return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

std::wstring upperSuffix(const std::wstring& text) {
    std::wstring suffix = text.size() > kSuffixLength ? text.substr(text.size() - kSuffixLength) : text;
    for (wchar_t& c : suffix) c = upperAscii(c);
    return suffix;
}

bool isChapterName(const std::wstring& name) {
    if (name.size() != kChapterNameLength) return false;
    const wchar_t video[] = L"VIDEO";
    for (std::size_t i = 0; i < kChapterDigitsAt; ++i) {
        if (upperAscii(name[i]) != video[i]) return false;
    }
    for (std::size_t i = kChapterDigitsAt; i < kChapterDigitsAt + kChapterDigitCount; ++i) {
        if (name[i] < L'0' || name[i] > L'9') return false;
    }
    return true;
}

}  // namespace

std::wstring patternFor(int mode) {
    switch (mode) {
        case 1:
            return kOneShotPattern;
        case 2:
            return kChapterPattern;
        default:
            return kEventPattern;
    }
}

bool nameMatches(const std::wstring& pattern, const std::wstring& name) {
    // A name shorter than the suffix has a shorter "last four characters" and so
    // never equals the pattern's.
    if (upperSuffix(pattern) != upperSuffix(name)) return false;
    if (pattern != kChapterPattern) return true;
    return isChapterName(name);
}

// The folder is listed and the wildcards applied here on every platform, so
// both builds find the same files; the name rule is stricter than the system's
// own matching (8.3 aliases, '?' matching nothing before a dot) anyway.
bool findRecordingFiles(const std::wstring& folder, const std::wstring& pattern, std::vector<std::wstring>& names) {
    std::vector<platform::FolderEntry> entries;
    if (!platform::listFolder(folder, entries)) return false;
    for (const platform::FolderEntry& entry : entries) {
        if (entry.isFolder) continue;
        if (wildcardMatches(pattern, entry.name) && nameMatches(pattern, entry.name)) names.push_back(entry.name);
    }
    return true;
}

int countMatching(const std::wstring& folder, const std::wstring& pattern) {
    std::vector<std::wstring> names;
    if (!findRecordingFiles(folder, pattern, names)) return 0;
    return static_cast<int>(names.size());
}
