#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "platform/FileSystem.h"
#include "platform/Utf8.h"

namespace platform {

namespace {

bool statPath(const std::wstring& path, struct stat& info) {
    return ::stat(toUtf8(path).c_str(), &info) == 0;
}

bool entryIsFolder(const std::wstring& folder, const dirent& entry) {
    if (entry.d_type == DT_DIR) return true;
    if (entry.d_type != DT_UNKNOWN && entry.d_type != DT_LNK) return false;
    return isFolder(joinPath(folder, fromUtf8(entry.d_name)));
}

// Four hexadecimal digits, as the Windows temporary names carry.
std::wstring uniqueSuffix(unsigned value) {
    wchar_t text[8];
    std::swprintf(text, 8, L"%04X", value & 0xFFFFu);
    return text;
}

}  // namespace

bool listFolder(const std::wstring& folder, std::vector<FolderEntry>& entries) {
    DIR* directory = opendir(toUtf8(folder).c_str());
    if (!directory) return false;
    while (const dirent* entry = readdir(directory)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        entries.push_back(FolderEntry{fromUtf8(name), entryIsFolder(folder, *entry)});
    }
    closedir(directory);
    return true;
}

wchar_t pathSeparator() {
    return L'/';
}

bool isFolder(const std::wstring& path) {
    struct stat info {};
    return statPath(path, info) && S_ISDIR(info.st_mode);
}

bool isFile(const std::wstring& path) {
    struct stat info {};
    return statPath(path, info) && S_ISREG(info.st_mode);
}

bool createFolder(const std::wstring& path) {
    ::mkdir(toUtf8(path).c_str(), 0777);
    return isFolder(path);
}

bool deleteFile(const std::wstring& path) {
    return ::unlink(toUtf8(path).c_str()) == 0;
}

bool deleteFolder(const std::wstring& path) {
    return ::rmdir(toUtf8(path).c_str()) == 0;
}

// POSIX files carry no hidden or read-only attribute of the card's kind.
// A hard link refuses a taken name where a plain rename would replace it.
bool renameFile(const std::wstring& from, const std::wstring& to) {
    const std::string source = toUtf8(from);
    if (::link(source.c_str(), toUtf8(to).c_str()) != 0) return false;
    return ::unlink(source.c_str()) == 0;
}

bool makeNormal(const std::wstring&) {
    return true;
}
bool makeHiddenReadOnly(const std::wstring&) {
    return true;
}
bool isHidden(const std::wstring&) {
    return false;
}
bool isReadOnly(const std::wstring&) {
    return false;
}

std::wstring temporaryFolder() {
    const char* variable = std::getenv("TMPDIR");
    std::wstring folder = variable && *variable ? fromUtf8(variable) : L"/tmp";
    while (folder.size() > 1 && folder.back() == L'/') folder.pop_back();
    return folder;
}

std::wstring createTemporaryFile(const std::wstring& folder, const std::wstring& prefix) {
    std::random_device entropy;
    const unsigned start = entropy();
    // Every one of the 65536 names is tried once before giving up.
    for (unsigned step = 0; step < 0x10000; ++step) {
        const std::wstring path = joinPath(folder, prefix + uniqueSuffix(start + step) + L".tmp");
        const int fd = ::open(toUtf8(path).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0) {
            ::close(fd);
            return path;
        }
        if (errno != EEXIST) return {};
    }
    return {};
}

}  // namespace platform
