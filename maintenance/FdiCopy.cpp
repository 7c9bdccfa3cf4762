#include "maintenance/FdiCopy.h"

#include <cstring>

namespace {

constexpr unsigned typeMask = 0x000F;
constexpr unsigned typeStored = 0;
constexpr unsigned typeMszip = 1;
constexpr unsigned typeQuantum = 2;
constexpr unsigned typeLzx = 3;
constexpr unsigned typeNoDecoder = 15;  // accepted, but nothing in such a folder can be decoded

// Window sizes (as powers of two) that the library's decoders can set up; any
// other makes a folder that cannot be decoded, not a lack of memory.
constexpr unsigned windowShift = 8;
constexpr unsigned windowMask = 0x1F;
constexpr unsigned smallestQuantumWindow = 10;
constexpr unsigned largestQuantumWindow = 21;
constexpr unsigned smallestLzxWindow = 15;
constexpr unsigned largestLzxWindow = 21;

bool typeIsAccepted(unsigned type) {
    const unsigned window = (type >> windowShift) & windowMask;
    switch (type & typeMask) {
        case typeStored:
        case typeMszip:
        case typeNoDecoder:
            return true;
        case typeQuantum:
            return window >= smallestQuantumWindow && window <= largestQuantumWindow;
        case typeLzx:
            return window >= smallestLzxWindow && window <= largestLzxWindow;
        default:
            return false;
    }
}

std::uint16_t dosDate(const mscabd_file& file) {
    return static_cast<std::uint16_t>((file.date_y - 1980) << 9 | file.date_m << 5 | file.date_d);
}

std::uint16_t dosTime(const mscabd_file& file) {
    return static_cast<std::uint16_t>(file.time_h << 11 | file.time_m << 5 | file.time_s >> 1);
}

const char* textOrEmpty(const char* text) {
    return text ? text : "";
}

}  // namespace

FdiCopy::FdiCopy(FdiSystem& system, FdiNotify notify, void* context)
    : system_(system), notify_(notify), context_(context) {}

FdiCopy::~FdiCopy() {
    if (!library_) return;
    // Closing the first cabinet frees the whole set joined to it.
    for (std::size_t i = 0; i < cabinets_.size(); ++i) {
        if (cabinets_[i]->tables && (i == 0 || i >= joined_)) library_->close(library_, cabinets_[i]->tables);
    }
    mspack_destroy_cab_decompressor(library_);
}

FdiError FdiCopy::run(const std::string& cabinetName, const std::string& cabinetPath) {
    if (cabinetPath.size() >= fdiPathSize) return FDIERROR_CABINET_NOT_FOUND;
    std::memcpy(folder_, cabinetPath.c_str(), cabinetPath.size() + 1);
    library_ = mspack_create_cab_decompressor(system_.table());
    if (!library_) return FDIERROR_ALLOC_FAIL;

    Cabinet& cabinet = addCabinet(cabinetPath + cabinetName);
    if (FdiError error = openCabinet(cabinet)) return error;
    joined_ = 1;
    markPartialFiles(cabinet);
    continued_ = cabinet.header.continuesToNext() ? lastFolder() : nullptr;
    if (FdiError error = notifyCabinetInfo(cabinet)) return error;
    return extractFiles();
}

FdiCopy::Cabinet& FdiCopy::addCabinet(std::string path) {
    cabinets_.push_back(std::make_unique<Cabinet>());
    cabinets_.back()->path = std::move(path);
    return *cabinets_.back();
}

FdiError FdiCopy::openCabinet(Cabinet& cabinet) {
    if (FdiError error = cabinet.header.read(system_.callbacks(), cabinet.path)) return error;
    cabinet.tables = library_->open(library_, cabinet.path.c_str());
    if (!cabinet.tables) return openError(library_->last_error(library_));
    // Both readings of the file table must agree entry for entry.
    const std::vector<std::uint16_t>& folders = cabinet.header.fileFolders();
    std::size_t count = 0;
    for (const mscabd_file* file = cabinet.tables->files; file; file = file->next) {
        if (count == folders.size()) return FDIERROR_CORRUPT_CABINET;
        rawFolders_[file] = folders[count++];
    }
    return count == folders.size() ? FDIERROR_NONE : FDIERROR_CORRUPT_CABINET;
}

// Files that began in an earlier cabinet are announced, not extracted: their
// folder's start lies in a cabinet this copy does not read.
void FdiCopy::markPartialFiles(const Cabinet& cabinet) {
    const bool firstFolderContinues = cabinet.header.continuesFromPrevious();
    for (const mscabd_file* file = cabinet.tables->files; file; file = file->next) {
        const std::uint16_t raw = rawFolders_[file];
        const bool spans = raw == CabinetHeader::continuedFromPrevious || raw == CabinetHeader::continuedBothWays;
        if (spans || (firstFolderContinues && file->folder == cabinet.tables->folders)) partial_.insert(file);
    }
}

const mscabd_folder* FdiCopy::lastFolder() const {
    const mscabd_folder* folder = cabinets_.front()->tables->folders;
    while (folder && folder->next) folder = folder->next;
    return folder;
}

FdiError FdiCopy::extractFiles() {
    // The list grows at its end as the following cabinets are joined.
    for (mscabd_file* file = cabinets_.front()->tables->files; file; file = file->next) {
        if (partial_.count(file)) {
            if (FdiError error = notifyPartialFile(*file)) return error;
            continue;
        }
        while (runsIntoNextCabinet(*file)) {
            if (FdiError error = openNextCabinet()) return error;
        }
        if (FdiError error = extractFile(*file)) return error;
    }
    return FDIERROR_NONE;
}

// Any file of a folder that goes on into a cabinet not opened yet: the
// folder's last block may be split between the cabinets, and a file before the
// spanning one may still end inside that block.
bool FdiCopy::runsIntoNextCabinet(const mscabd_file& file) const {
    return continued_ && file.folder == continued_;
}

FdiError FdiCopy::extractFile(mscabd_file& file) {
    const unsigned type = static_cast<unsigned>(file.folder->comp_type);
    if (!typeIsAccepted(type)) return FDIERROR_BAD_COMPR_TYPE;
    const bool decodes = (type & typeMask) != typeNoDecoder;
    if (!decodes && file.length > 0) return FDIERROR_MDI_FAIL;

    FdiNotification record = fileRecord(file);
    const std::intptr_t handle = send(fdintCOPY_FILE, record);
    if (handle == 0) return FDIERROR_NONE;  // the caller skips this file
    if (handle == -1) return FDIERROR_TARGET_FILE;
    if (decodes) {
        system_.setOutput(handle);
        // The name is not used: the system table writes to the handle set above.
        const int result = library_->extract(library_, &file, "");
        if (result != MSPACK_ERR_OK) {
            system_.callbacks().close(handle);
            return extractError(result);
        }
    }
    record.hf = handle;
    return closeFile(record);
}

FdiError FdiCopy::closeFile(FdiNotification& record) {
    const std::intptr_t answer = send(fdintCLOSE_FILE_INFO, record);
    return answer == 0 || answer == -1 ? FDIERROR_TARGET_FILE : FDIERROR_NONE;
}

FdiError FdiCopy::openNextCabinet() {
    const Cabinet& last = *cabinets_[joined_ - 1];
    FdiNotification record;
    record.psz1 = textOrEmpty(last.tables->nextname);
    record.psz2 = textOrEmpty(last.tables->nextinfo);
    record.psz3 = folder_;
    record.setID = last.header.setID();
    record.iCabinet = static_cast<std::uint16_t>(last.header.index() + 1);
    if (send(fdintNEXT_CABINET, record) == -1) return FDIERROR_USER_ABORT;
    folder_[fdiPathSize - 1] = '\0';  // in case the callee wrote to the end

    // A missing or wrong cabinet ends the copy: asking again for the same name
    // could go on for ever.
    Cabinet& next = addCabinet(std::string(folder_) + textOrEmpty(last.tables->nextname));
    if (FdiError error = openCabinet(next)) return error;
    if (FdiError error = checkNextCabinet(last, next)) return error;
    if (FdiError error = notifyCabinetInfo(next)) return error;
    const int result = library_->append(library_, last.tables, next.tables);
    if (result != MSPACK_ERR_OK) {
        libraryError_ = result;
        return result == MSPACK_ERR_NOMEMORY || system_.outOfMemory() ? FDIERROR_ALLOC_FAIL : FDIERROR_WRONG_CABINET;
    }
    joined_ = cabinets_.size();
    continued_ = next.header.continuesToNext() ? lastFolder() : nullptr;
    return FDIERROR_NONE;
}

FdiError FdiCopy::checkNextCabinet(const Cabinet& last, const Cabinet& next) const {
    if (next.header.setID() != last.header.setID() || next.header.index() != last.header.index() + 1) {
        return FDIERROR_WRONG_CABINET;
    }
    if (next.header.folderReserve() != last.header.folderReserve() ||
        next.header.dataReserve() != last.header.dataReserve()) {
        return FDIERROR_RESERVE_MISMATCH;
    }
    // The library joins files by their place in the folder; it needs the
    // next cabinet to take up the folder this one leaves open.
    if (!next.header.continuesFromPrevious()) return FDIERROR_WRONG_CABINET;
    return FDIERROR_NONE;
}

FdiNotification FdiCopy::fileRecord(const mscabd_file& file) const {
    FdiNotification record;
    record.cb = file.length;
    record.psz1 = file.filename;
    record.date = dosDate(file);
    record.time = dosTime(file);
    record.attribs = static_cast<std::uint16_t>(file.attribs);
    const auto raw = rawFolders_.find(&file);
    record.iFolder = raw == rawFolders_.end() ? 0 : raw->second;
    record.setID = cabinets_.front()->header.setID();
    record.iCabinet = cabinets_.front()->header.index();
    return record;
}

FdiError FdiCopy::notifyCabinetInfo(const Cabinet& cabinet) {
    FdiNotification record;
    record.psz1 = textOrEmpty(cabinet.tables->nextname);
    record.psz2 = textOrEmpty(cabinet.tables->nextinfo);
    record.psz3 = folder_;
    record.setID = cabinet.header.setID();
    record.iCabinet = cabinet.header.index();
    const std::intptr_t answer = send(fdintCABINET_INFO, record);
    folder_[fdiPathSize - 1] = '\0';
    return answer == -1 ? FDIERROR_USER_ABORT : FDIERROR_NONE;
}

FdiError FdiCopy::notifyPartialFile(const mscabd_file& file) {
    const mscabd_cabinet& cabinet = *cabinets_.front()->tables;
    std::string disk = textOrEmpty(cabinet.previnfo);  // the callee gets a copy it may write to
    FdiNotification record = fileRecord(file);
    record.psz2 = textOrEmpty(cabinet.prevname);
    record.psz3 = disk.data();
    return send(fdintPARTIAL_FILE, record) == -1 ? FDIERROR_USER_ABORT : FDIERROR_NONE;
}

std::intptr_t FdiCopy::send(FdiNotificationType kind, FdiNotification& record) {
    record.pv = context_;
    return notify_(kind, &record);
}

FdiError FdiCopy::openError(int error) {
    libraryError_ = error;
    if (system_.outOfMemory()) return FDIERROR_ALLOC_FAIL;
    switch (error) {
        case MSPACK_ERR_OPEN:
            return FDIERROR_CABINET_NOT_FOUND;
        case MSPACK_ERR_SIGNATURE:
            return FDIERROR_NOT_A_CABINET;
        case MSPACK_ERR_NOMEMORY:
            return FDIERROR_ALLOC_FAIL;
        default:
            return FDIERROR_CORRUPT_CABINET;
    }
}

FdiError FdiCopy::extractError(int error) {
    libraryError_ = error;
    if (system_.outOfMemory()) return FDIERROR_ALLOC_FAIL;
    switch (error) {
        case MSPACK_ERR_WRITE:
            return FDIERROR_TARGET_FILE;
        case MSPACK_ERR_NOMEMORY:
            return FDIERROR_ALLOC_FAIL;
        case MSPACK_ERR_DECRUNCH:
            return FDIERROR_MDI_FAIL;
        case MSPACK_ERR_OPEN:
            return FDIERROR_CABINET_NOT_FOUND;
        default:  // a short read, a bad block size or checksum: the cabinet itself is damaged
            return FDIERROR_CORRUPT_CABINET;
    }
}
