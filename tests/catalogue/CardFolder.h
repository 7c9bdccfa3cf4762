#pragma once
// A fresh folder under the system's temporary folder standing in for a card
// folder; removed with everything in it when the test ends.
#include <filesystem>
#include <string>

#include "platform/File.h"
#include "platform/FileSystem.h"

class CardFolder {
public:
    CardFolder() {
        marker_ = platform::createTemporaryFile(platform::temporaryFolder(), L"cat");
        path_ = marker_ + L".d";
        platform::createFolder(path_);
    }
    ~CardFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(std::filesystem::path(path_), ignored);
        platform::deleteFile(marker_);
    }
    CardFolder(const CardFolder&) = delete;
    CardFolder& operator=(const CardFolder&) = delete;

    const std::wstring& path() const { return path_; }
    std::wstring pathOf(const std::wstring& name) const { return platform::joinPath(path_, name); }

    // An empty file: enough for the name rule and the ordering.
    std::wstring addEmptyFile(const std::wstring& name) const {
        const std::wstring full = pathOf(name);
        File file;
        file.open(full, File::Mode::Create);
        return full;
    }
    std::wstring addFolder(const std::wstring& name) const {
        const std::wstring full = pathOf(name);
        platform::createFolder(full);
        return full;
    }

private:
    std::wstring marker_;
    std::wstring path_;
};
