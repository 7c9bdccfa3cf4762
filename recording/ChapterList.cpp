#include "recording/ChapterList.h"

#include <algorithm>
#include <vector>

#include "app/Exception.h"
#include "app/Texts.h"
#include "platform/FileSystem.h"
#include "recording/VideoArchive.h"

namespace {

constexpr int kTextCannotRead = 5510;

wchar_t lowerAscii(wchar_t c) {
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

// Negative, zero or positive as a sorts before, with or after b ignoring case.
int compareIgnoringCase(const std::wstring& a, const std::wstring& b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const wchar_t x = lowerAscii(a[i]);
        const wchar_t y = lowerAscii(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool isLowerAscii(wchar_t c) {
    return c >= L'a' && c <= L'z';
}

// Only called for strings equal ignoring case: the first letter whose case
// differs decides, lower case first as the system's word sort has it.
bool lowerCaseFirst(const std::wstring& a, const std::wstring& b) {
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i]) return isLowerAscii(a[i]);
    }
    return false;
}

[[noreturn]] void throwCannotRead() {
    throw VideoArchiveException(loadText(kTextCannotRead));
}

}  // namespace

bool chapterPathBefore(const std::wstring& a, const std::wstring& b) {
    const int order = compareIgnoringCase(a, b);
    if (order != 0) return order < 0;
    return lowerCaseFirst(a, b);
}

int listChapters(const std::wstring& folder, ChapterTable& table, int& count, bool& tooMany) {
    table.fill(std::wstring());
    tooMany = false;
    count = 0;

    const std::wstring pattern = patternFor(2);
    std::vector<std::wstring> names;
    if (!findRecordingFiles(folder, pattern, names)) throwCannotRead();

    std::vector<std::wstring> paths;
    paths.reserve(names.size());
    for (const std::wstring& name : names) paths.push_back(platform::joinPath(folder, name));
    std::sort(paths.begin(), paths.end(), chapterPathBefore);

    const std::size_t listed = std::min(paths.size(), table.size());
    std::copy_n(paths.begin(), listed, table.begin());
    tooMany = paths.size() > table.size();
    if (listed == 0) throwCannotRead();

    count = static_cast<int>(listed);
    return (count - 1) * kFramesPerChapter + VideoArchive::countChapterFrames(table[listed - 1]);
}
