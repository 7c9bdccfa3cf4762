#include <windows.h>

#include "platform/FileSystem.h"

namespace platform {

namespace {

DWORD attributes(const std::wstring& path) {
    return GetFileAttributesW(path.c_str());
}

bool hasAttribute(const std::wstring& path, DWORD flag) {
    const DWORD value = attributes(path);
    return value != INVALID_FILE_ATTRIBUTES && (value & flag) != 0;
}

}  // namespace

bool listFolder(const std::wstring& folder, std::vector<FolderEntry>& entries) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(joinPath(folder, L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        entries.push_back(FolderEntry{name, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return true;
}

wchar_t pathSeparator() {
    return L'\\';
}

bool isFolder(const std::wstring& path) {
    const DWORD value = attributes(path);
    return value != INVALID_FILE_ATTRIBUTES && (value & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool isFile(const std::wstring& path) {
    const DWORD value = attributes(path);
    return value != INVALID_FILE_ATTRIBUTES && (value & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool createFolder(const std::wstring& path) {
    CreateDirectoryW(path.c_str(), nullptr);
    return isFolder(path);
}

bool deleteFile(const std::wstring& path) {
    return DeleteFileW(path.c_str()) != 0;
}

bool deleteFolder(const std::wstring& path) {
    return RemoveDirectoryW(path.c_str()) != 0;
}

// Without MOVEFILE_REPLACE_EXISTING a taken name is refused.
bool renameFile(const std::wstring& from, const std::wstring& to) {
    return MoveFileExW(from.c_str(), to.c_str(), 0) != 0;
}

bool makeNormal(const std::wstring& path) {
    return SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL) != 0;
}

// Hidden first, while the file is still writable: where the hidden flag lives
// in an extended attribute, a file already read-only refuses it.
bool makeHiddenReadOnly(const std::wstring& path) {
    return SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN) != 0 &&
           SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY) != 0;
}

bool isHidden(const std::wstring& path) {
    return hasAttribute(path, FILE_ATTRIBUTE_HIDDEN);
}

bool isReadOnly(const std::wstring& path) {
    return hasAttribute(path, FILE_ATTRIBUTE_READONLY);
}

std::wstring temporaryFolder() {
    wchar_t buffer[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
    if (length == 0 || length > MAX_PATH) return {};
    std::wstring folder(buffer, length);
    while (folder.size() > 3 && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
    return folder;
}

std::wstring createTemporaryFile(const std::wstring& folder, const std::wstring& prefix) {
    wchar_t buffer[MAX_PATH];
    if (GetTempFileNameW(folder.c_str(), prefix.c_str(), 0, buffer) == 0) return {};
    return buffer;
}

}  // namespace platform
