#include "recording/ArchiveFormat.h"

#include "app/Exception.h"
#include "app/Texts.h"
#include "recording/VideoArchive.h"

namespace {

constexpr int kCannotRead = 5510;

std::wstring upperExtension(const std::wstring& path) {
    if (path.size() < 4) return {};
    std::wstring extension = path.substr(path.size() - 4);
    for (wchar_t& c : extension) {
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    }
    return extension;
}

}  // namespace

ArchiveFormat archiveFormatOf(const std::wstring& path) {
    const std::wstring extension = upperExtension(path);
    if (extension == L".DVT") return ArchiveFormat::Event;
    if (extension == L".DMV") return ArchiveFormat::Chapter;
    if (extension == L".DPC") return ArchiveFormat::OneShot;
    return ArchiveFormat::Unknown;
}

const char* archiveFormatName(ArchiveFormat format) {
    switch (format) {
        case ArchiveFormat::Event:
            return "event";
        case ArchiveFormat::Chapter:
            return "chapter";
        case ArchiveFormat::OneShot:
            return "oneshot";
        case ArchiveFormat::Unknown:
            break;
    }
    return "unknown";
}

void readArchiveFile(VideoArchive& archive, const std::wstring& path, ArchiveFormat format) {
    switch (format) {
        case ArchiveFormat::Event:
            archive.readEventArchive(path);
            return;
        case ArchiveFormat::Chapter:
            archive.readChapterArchive(path);
            return;
        case ArchiveFormat::OneShot:
            archive.readOneShotFile(path);
            return;
        case ArchiveFormat::Unknown:
            break;
    }
    throw VideoArchiveException(loadText(kCannotRead));
}
