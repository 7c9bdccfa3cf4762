#pragma once
// An archive file on disk as an ArchiveSource, opened for reading shared with
// other readers and writers (the recorder's card may be written meanwhile).
#include <memory>
#include <string>

#include "platform/File.h"
#include "recording/ArchiveSource.h"

class FileSource : public ArchiveSource {
public:
    // Null when the file cannot be opened.
    static std::unique_ptr<FileSource> open(const std::wstring& path);

    std::size_t readAt(std::int64_t offset, void* buffer, std::size_t count) override;
    std::int64_t size() const override { return size_; }

private:
    explicit FileSource(File file);
    File file_;
    std::int64_t size_ = 0;
};
