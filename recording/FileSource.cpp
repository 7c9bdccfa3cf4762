#include "recording/FileSource.h"

#include <algorithm>

std::unique_ptr<FileSource> FileSource::open(const std::wstring& path) {
    File file;
    if (!file.open(path, File::Mode::Read)) return nullptr;
    return std::unique_ptr<FileSource>(new FileSource(std::move(file)));
}

FileSource::FileSource(File file) : file_(std::move(file)), size_(std::max<std::int64_t>(file_.size(), 0)) {}

std::size_t FileSource::readAt(std::int64_t offset, void* buffer, std::size_t count) {
    if (offset < 0 || count == 0 || !file_.seek(offset)) return 0;
    return file_.read(buffer, count);
}
