#pragma once
// Test folders on disk: a fresh folder under the system's temporary folder,
// removed with everything in it when the test ends.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

// Removes folder and everything below it, hidden and read-only files included.
// The names of what a folder holds, sorted: what a test compares.
inline std::vector<std::wstring> sortedNamesIn(const std::wstring& folder) {
    std::vector<platform::FolderEntry> entries;
    platform::listFolder(folder, entries);
    std::vector<std::wstring> names;
    for (const auto& entry : entries) names.push_back(entry.name);
    std::sort(names.begin(), names.end());
    return names;
}

inline void removeFolderTree(const std::wstring& folder) {
    std::vector<platform::FolderEntry> entries;
    if (platform::listFolder(folder, entries)) {
        for (const platform::FolderEntry& entry : entries) {
            const std::wstring path = platform::joinPath(folder, entry.name);
            if (entry.isFolder) {
                removeFolderTree(path);
            } else {
                platform::makeNormal(path);
                platform::deleteFile(path);
            }
        }
    }
    platform::deleteFolder(folder);
}

class ScratchFolder {
public:
    explicit ScratchFolder(const std::wstring& prefix) {
        const std::wstring temporary = platform::temporaryFolder();
        const std::wstring marker = platform::createTemporaryFile(temporary, prefix);
        path_ = marker + L".d";
        platform::createFolder(path_);
        marker_ = marker;
    }
    ~ScratchFolder() {
        removeFolderTree(path_);
        platform::deleteFile(marker_);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::wstring& path() const { return path_; }
    std::wstring file(const std::wstring& name) const { return platform::joinPath(path_, name); }

private:
    std::wstring path_;
    std::wstring marker_;
};
