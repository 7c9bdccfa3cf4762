#include "export/OutputFiles.h"

#include "app/Texts.h"
#include "export/ExportException.h"
#include "platform/File.h"
#include "platform/FileSystem.h"

namespace {

constexpr int kCannotWriteFolder = 5540;
constexpr int kNameTaken = 5541;
constexpr wchar_t kTemporaryPrefix[] = L"~orvelle-export-";
constexpr int kTemporaryNameTries = 1000;

}  // namespace

OutputFiles::OutputFiles(std::wstring folder) : folder_(std::move(folder)) {
    if (platform::isFolder(folder_)) return;
    if (platform::isFile(folder_) || !platform::createFolder(folder_)) cannotWrite();
    madeFolder_ = true;
}

OutputFiles::~OutputFiles() {
    if (!committed_) discard();
}

// Not the system's temporary-name service: its files are private to the user,
// and exported files are meant to be handed on.
int OutputFiles::create(File& file) {
    for (int n = 0; n < kTemporaryNameTries; ++n) {
        const std::wstring path =
            platform::joinPath(folder_, kTemporaryPrefix + std::to_wstring(files_.size() + n) + L".tmp");
        if (platform::isFile(path) || platform::isFolder(path)) continue;
        if (!file.open(path, File::Mode::Create)) cannotWrite();
        files_.push_back(Entry{path, L""});
        return count() - 1;
    }
    cannotWrite();
}

int OutputFiles::write(const std::string& bytes, const std::wstring& name) {
    return write(bytes.data(), bytes.size(), name);
}

int OutputFiles::write(const void* bytes, std::size_t size, const std::wstring& name) {
    File file;
    const int id = create(file);
    setName(id, name);
    if (!file.write(bytes, size)) cannotWrite();
    return id;
}

void OutputFiles::setName(int id, const std::wstring& name) {
    files_[id].name = name;
}

std::wstring OutputFiles::finalPath(int id) const {
    return platform::joinPath(folder_, files_[id].name);
}

void OutputFiles::checkNamesFree() const {
    for (int id = 0; id < count(); ++id) {
        const std::wstring path = finalPath(id);
        if (platform::isFile(path) || platform::isFolder(path)) {
            throw ExportException(path, loadText(kNameTaken));
        }
    }
}

void OutputFiles::commit() {
    checkNamesFree();
    for (int id = 0; id < count(); ++id) {
        if (platform::renameFile(files_[id].temporary, finalPath(id))) {
            files_[id].temporary = finalPath(id);
            continue;
        }
        const std::wstring path = finalPath(id);
        throw ExportException(path, loadText(platform::isFile(path) ? kNameTaken : kCannotWriteFolder));
    }
    committed_ = true;
}

void OutputFiles::cannotWrite() const {
    throw ExportException(folder_, loadText(kCannotWriteFolder));
}

// Temporary names, and final names already given, are all files of this export.
void OutputFiles::discard() {
    for (const Entry& entry : files_) platform::deleteFile(entry.temporary);
    files_.clear();
    if (madeFolder_) platform::deleteFolder(folder_);
}
