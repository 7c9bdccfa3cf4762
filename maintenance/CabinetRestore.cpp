#include "maintenance/CabinetRestore.h"

#include "app/Exception.h"
#include "app/Texts.h"
#include "maintenance/CabinetName.h"
#include "maintenance/FdiFiles.h"
#include "platform/File.h"
#include "platform/FileSystem.h"
#include "platform/FileTimes.h"
#include "platform/Utf8.h"

namespace {

constexpr int extractorMissingText = 5040;
constexpr int wrongLengthText = 5041;
constexpr std::uint16_t utf8NameAttribute = 0x80;

bool isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : days[month - 1];
}

// False for stamps that name no real moment (month 0, 30 February, hour 25),
// which the system would otherwise quietly move to another day.
bool dosStampToLocal(std::uint16_t date, std::uint16_t time, CalendarTime& local) {
    const CalendarTime stamp{1980 + (date >> 9), (date >> 5) & 0x0F, date & 0x1F,
                             time >> 11,         (time >> 5) & 0x3F, (time & 0x1F) * 2};
    if (stamp.month < 1 || stamp.month > 12 || stamp.day < 1 || stamp.day > daysInMonth(stamp.year, stamp.month)) {
        return false;
    }
    if (stamp.hour > 23 || stamp.minute > 59 || stamp.second > 59) return false;
    local = stamp;
    return true;
}

// The cabinet's folder, with its separator, and its file name, as UTF-8 for
// the file callbacks.
void splitCabinetPath(const std::wstring& path, std::string& folder, std::string& name) {
    const std::size_t last = path.find_last_of(std::wstring{L'/', platform::pathSeparator()});
    const std::size_t nameStart = last == std::wstring::npos ? 0 : last + 1;
    folder = toUtf8(path.substr(0, nameStart));
    name = toUtf8(path.substr(nameStart));
}

}  // namespace

CabinetRestore::CabinetRestore(std::wstring destinationFolder) : destination_(std::move(destinationFolder)) {}

void CabinetRestore::extract(const std::wstring& cabinetPath) {
    files_.clear();
    copyCabinet(cabinetPath);
    dateFiles();
    protectFiles();
    if (!lengthsMatch()) {
        deleteFiles();
        throw IOException(loadText(wrongLengthText));
    }
}

void CabinetRestore::copyCabinet(const std::wstring& cabinetPath) {
    FdiErrorRecord errors;
    const FdiHandle extractor = FdiFiles::createExtractor(&errors);
    if (!extractor) throw IOException(loadText(extractorMissingText));
    std::string folder;
    std::string name;
    splitCabinetPath(cabinetPath, folder, name);
    const bool copied = FDICopy(extractor, name.c_str(), folder.c_str(), 0, &CabinetRestore::notify, nullptr, this);
    FDIDestroy(extractor);
    if (!copied) {
        deleteFiles();
        throw IOException(fdiErrorMessage(errors.erfOper));
    }
}

std::intptr_t CabinetRestore::notify(FdiNotificationType kind, FdiNotification* record) {
    auto* restore = static_cast<CabinetRestore*>(record->pv);
    switch (kind) {
        case fdintCOPY_FILE:
            return restore->copyFile(*record);
        case fdintCLOSE_FILE_INFO:
            FdiFiles::close(record->hf);
            return 1;
        default:
            return 0;
    }
}

// A name that would leave the destination is a failed copy (code 8): nothing is
// recorded for it, so nothing outside the destination is deleted either. Any
// file already there is made normal and deleted first, so that hidden or
// read-only leftovers of an earlier restore never block the write. Folders named
// in the cabinet are not created.
std::intptr_t CabinetRestore::copyFile(const FdiNotification& record) {
    try {
        std::wstring relative;
        if (!cabinetNameToRelativePath(record.psz1, (record.attribs & utf8NameAttribute) != 0, relative)) return -1;
        const std::wstring path = platform::joinPath(destination_, relative);
        files_.push_back(ExtractedFile{path, record.cb, record.date, record.time});
        platform::makeNormal(path);
        platform::deleteFile(path);
        return FdiFiles::create(path);
    } catch (...) {  // nothing may cross back into the extractor
        return -1;
    }
}

// The stamps are local times, set as a FAT card keeps them (see setFileTime), so
// the card shows the cabinet's own date and time in summer and in winter. A
// stamp that names no real moment, or a file that cannot be changed, keeps the
// time it was written at.
void CabinetRestore::dateFiles() const {
    for (const ExtractedFile& file : files_) {
        CalendarTime local;
        if (dosStampToLocal(file.date, file.time, local)) platform::setFileTime(file.path, local);
    }
}

void CabinetRestore::protectFiles() const {
    for (const ExtractedFile& file : files_) platform::makeHiddenReadOnly(file.path);
}

bool CabinetRestore::lengthsMatch() const {
    for (const ExtractedFile& file : files_) {
        File written;
        const std::int64_t length = written.open(file.path, File::Mode::Read) ? written.size() : -1;
        if (length != static_cast<std::int64_t>(file.size)) return false;
    }
    return true;
}

void CabinetRestore::deleteFiles() const {
    for (const ExtractedFile& file : files_) {
        platform::makeNormal(file.path);
        platform::deleteFile(file.path);
    }
}
