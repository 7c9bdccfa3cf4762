#include "maintenance/ViewerCopy.h"

#include <windows.h>

#include "app/Exception.h"
#include "app/Texts.h"
#include "maintenance/FirmInfo.h"
#include "platform/File.h"
#include "platform/FileSystem.h"

namespace {

constexpr int viewerNameTextId = 5085;
constexpr int copyFailedTextId = 5007;
// The longest path the wide file functions accept.
constexpr DWORD longestPath = 32768;

// "X:" alone means the current folder of drive X, not its root.
std::wstring asFolder(const std::wstring& path) {
    if (path.empty() || path.back() == L'\\' || path.back() == L'/') return path;
    return path + L'\\';
}

struct FolderIdentity {
    DWORD volume = 0;
    DWORD indexHigh = 0;
    DWORD indexLow = 0;
};

bool folderIdentity(const std::wstring& path, FolderIdentity& identity) {
    const HANDLE folder = CreateFileW(asFolder(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (folder == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION information;
    const bool known = GetFileInformationByHandle(folder, &information) != 0;
    CloseHandle(folder);
    if (!known) return false;
    identity = FolderIdentity{information.dwVolumeSerialNumber, information.nFileIndexHigh, information.nFileIndexLow};
    return true;
}

std::wstring fullPath(const std::wstring& path) {
    std::wstring full(longestPath, L'\0');
    const DWORD length = GetFullPathNameW(asFolder(path).c_str(), longestPath, full.data(), nullptr);
    if (length == 0 || length >= longestPath) return asFolder(path);
    full.resize(length);
    return full;
}

// File names on the card's file systems differ in case only by spelling.
bool isSameName(const std::wstring& first, const std::wstring& second) {
    return CompareStringOrdinal(first.c_str(), -1, second.c_str(), -1, TRUE) == CSTR_EQUAL;
}

}  // namespace

std::wstring runningExecutable() {
    // A path longer than the classic 260 characters would come back cut short.
    std::wstring path(longestPath, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), longestPath);
    if (length == 0 || length >= longestPath) return {};
    path.resize(length);
    return path;
}

std::int64_t fileLength(const std::wstring& path) {
    File file;
    if (!file.open(path, File::Mode::Read)) return -1;
    return file.size();
}

bool isSameFolder(const std::wstring& first, const std::wstring& second) {
    FolderIdentity one;
    FolderIdentity other;
    if (folderIdentity(first, one) && folderIdentity(second, other)) {
        return one.volume == other.volume && one.indexHigh == other.indexHigh && one.indexLow == other.indexLow;
    }
    return CompareStringOrdinal(fullPath(first).c_str(), -1, fullPath(second).c_str(), -1, TRUE) == CSTR_EQUAL;
}

void copyViewer(const std::wstring& cardPath) {
    const std::wstring viewer = runningExecutable();
    const std::int64_t viewerLength = viewer.empty() ? -1 : fileLength(viewer);
    if (viewerLength < 0) throw IOException(loadText(copyFailedTextId));
    const std::wstring name = loadText(viewerNameTextId);
    // The viewer started from the card under the card's own name is already
    // there, and copying a running executable onto itself would fail. Any other
    // program in that folder (the viewer under its build name, say) is copied.
    if (isSameFolder(platform::parentFolder(viewer), cardPath) && isSameName(platform::fileName(viewer), name)) return;
    const std::wstring target = platform::joinPath(cardPath, name);
    deleteFile(target);
    const bool copied = CopyFileW(viewer.c_str(), target.c_str(), FALSE) != 0;
    if (!copied || fileLength(target) != viewerLength) {
        deleteFile(target);
        throw IOException(loadText(copyFailedTextId));
    }
}
