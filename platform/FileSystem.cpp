// The path helpers shared by both implementations.
#include "platform/FileSystem.h"

namespace platform {

namespace {

bool isSeparator(wchar_t c) {
    return c == L'/' || c == L'\\';
}

std::size_t lastSeparator(const std::wstring& path) {
    return path.find_last_of(L"/\\");
}

}  // namespace

std::wstring joinPath(const std::wstring& folder, const std::wstring& name) {
    if (folder.empty()) return name;
    if (isSeparator(folder.back())) {
        if (!name.empty() && isSeparator(name.front())) return folder + name.substr(1);
        return folder + name;
    }
    if (!name.empty() && isSeparator(name.front())) return folder + name;
    return folder + pathSeparator() + name;
}

std::wstring fileName(const std::wstring& path) {
    const std::size_t separator = lastSeparator(path);
    return separator == std::wstring::npos ? path : path.substr(separator + 1);
}

std::wstring parentFolder(const std::wstring& path) {
    const std::size_t separator = lastSeparator(path);
    return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator);
}

}  // namespace platform
