#pragma once
// A fresh folder under the system's temporary folder, removed with its files
// (one level deep) when the test ends.
#include <string>
#include <vector>

#include "platform/FileSystem.h"

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
        std::vector<platform::FolderEntry> entries;
        platform::listFolder(path_, entries);
        for (const platform::FolderEntry& entry : entries) {
            const std::wstring inner = platform::joinPath(path_, entry.name);
            if (entry.isFolder) {
                platform::deleteFolder(inner);
            } else {
                platform::makeNormal(inner);
                platform::deleteFile(inner);
            }
        }
        platform::deleteFolder(path_);
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
