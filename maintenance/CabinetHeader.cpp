#include "maintenance/CabinetHeader.h"

#include <algorithm>
#include <cstring>

namespace {

// CFHEADER
constexpr std::size_t headerSize = 0x24;
constexpr std::size_t signatureAt = 0x00;
constexpr std::size_t minorVersionAt = 0x18;
constexpr std::size_t majorVersionAt = 0x19;
constexpr std::size_t folderCountAt = 0x1A;
constexpr std::size_t fileCountAt = 0x1C;
constexpr std::size_t flagsAt = 0x1E;
constexpr std::size_t setIDAt = 0x20;
constexpr std::size_t indexAt = 0x22;
// Reserve sizes, present with flagReserve
constexpr std::size_t reserveSizesSize = 4;
constexpr std::size_t headerReserveAt = 0;
constexpr std::size_t folderReserveAt = 2;
constexpr std::size_t dataReserveAt = 3;
// CFFOLDER and CFFILE
constexpr std::size_t folderSize = 8;
constexpr std::size_t fileSize = 16;
constexpr std::size_t fileFolderAt = 8;

constexpr std::uint16_t flagPrevious = 0x0001;
constexpr std::uint16_t flagNext = 0x0002;
constexpr std::uint16_t flagReserve = 0x0004;

constexpr std::uint8_t supportedMajor = 1;
constexpr std::uint8_t supportedMinor = 3;
// Names in the tables are at most 255 bytes and a terminating zero.
constexpr std::size_t longestString = 256;

std::uint16_t little16(const unsigned char* bytes) {
    return static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
}

// Reads the tables front to back through the caller's callbacks, a few
// kilobytes at a time rather than a call per name.
class TableReader {
public:
    TableReader(const FdiCallbacks& callbacks, std::intptr_t handle) : callbacks_(callbacks), handle_(handle) {}

    bool read(void* target, std::size_t count) {
        auto* bytes = static_cast<unsigned char*>(target);
        while (count > 0) {
            if (next_ == end_ && !fill()) return false;
            const std::size_t part = std::min(count, end_ - next_);
            std::memcpy(bytes, buffer_ + next_, part);
            next_ += part;
            bytes += part;
            count -= part;
        }
        return true;
    }

    bool skip(std::size_t count) {
        unsigned char ignored[256];
        while (count > 0) {
            const std::size_t part = std::min(count, sizeof ignored);
            if (!read(ignored, part)) return false;
            count -= part;
        }
        return true;
    }

    // A zero-terminated string of at most 255 bytes.
    bool skipString(bool mayBeEmpty) {
        for (std::size_t length = 0; length < longestString; ++length) {
            unsigned char byte;
            if (!read(&byte, 1)) return false;
            if (byte == 0) return length > 0 || mayBeEmpty;
        }
        return false;
    }

private:
    bool fill() {
        const std::int32_t got = callbacks_.read(handle_, buffer_, sizeof buffer_);
        if (got <= 0 || static_cast<std::size_t>(got) > sizeof buffer_) return false;
        next_ = 0;
        end_ = static_cast<std::size_t>(got);
        return true;
    }

    const FdiCallbacks& callbacks_;
    std::intptr_t handle_;
    unsigned char buffer_[4096];
    std::size_t next_ = 0;
    std::size_t end_ = 0;
};

class OpenCabinet {
public:
    OpenCabinet(const FdiCallbacks& callbacks, const std::string& path)
        : callbacks_(callbacks), handle_(callbacks.open(path.c_str(), fdiOpenFlags, 0)) {}
    ~OpenCabinet() {
        if (isOpen()) callbacks_.close(handle_);
    }
    OpenCabinet(const OpenCabinet&) = delete;
    OpenCabinet& operator=(const OpenCabinet&) = delete;

    bool isOpen() const { return handle_ != -1; }
    std::intptr_t handle() const { return handle_; }

private:
    const FdiCallbacks& callbacks_;
    std::intptr_t handle_;
};

}  // namespace

FdiError CabinetHeader::read(const FdiCallbacks& callbacks, const std::string& path) {
    OpenCabinet cabinet(callbacks, path);
    if (!cabinet.isOpen()) return FDIERROR_CABINET_NOT_FOUND;
    TableReader reader(callbacks, cabinet.handle());

    unsigned char header[headerSize];
    if (!reader.read(header, 4) || std::memcmp(header + signatureAt, "MSCF", 4) != 0) return FDIERROR_NOT_A_CABINET;
    if (!reader.read(header + 4, headerSize - 4)) return FDIERROR_CORRUPT_CABINET;
    if (header[majorVersionAt] != supportedMajor || header[minorVersionAt] != supportedMinor) {
        return FDIERROR_UNKNOWN_CABINET_VERSION;
    }
    const std::uint16_t folderCount = little16(header + folderCountAt);
    const std::uint16_t fileCount = little16(header + fileCountAt);
    const std::uint16_t flags = little16(header + flagsAt);
    setID_ = little16(header + setIDAt);
    index_ = little16(header + indexAt);
    if (folderCount == 0 || fileCount == 0) return FDIERROR_CORRUPT_CABINET;

    std::uint16_t headerReserve = 0;
    if (flags & flagReserve) {
        unsigned char sizes[reserveSizesSize];
        if (!reader.read(sizes, sizeof sizes)) return FDIERROR_CORRUPT_CABINET;
        headerReserve = little16(sizes + headerReserveAt);
        folderReserve_ = sizes[folderReserveAt];
        dataReserve_ = sizes[dataReserveAt];
    }
    if (!reader.skip(headerReserve)) return FDIERROR_CORRUPT_CABINET;
    if ((flags & flagPrevious) && !(reader.skipString(false) && reader.skipString(true))) {
        return FDIERROR_CORRUPT_CABINET;
    }
    if ((flags & flagNext) && !(reader.skipString(false) && reader.skipString(true))) {
        return FDIERROR_CORRUPT_CABINET;
    }
    if (!reader.skip(std::size_t{folderCount} * (folderSize + folderReserve_))) return FDIERROR_CORRUPT_CABINET;

    fileFolders_.clear();
    fileFolders_.reserve(fileCount);
    for (std::uint16_t i = 0; i < fileCount; ++i) {
        unsigned char entry[fileSize];
        if (!reader.read(entry, sizeof entry) || !reader.skipString(false)) return FDIERROR_CORRUPT_CABINET;
        const std::uint16_t folder = little16(entry + fileFolderAt);
        if (folder >= folderCount && folder < continuedFromPrevious) return FDIERROR_CORRUPT_CABINET;
        fileFolders_.push_back(folder);
    }
    // A set's neighbours must be named for its spanning files to be found.
    if (continuesFromPrevious() && !(flags & flagPrevious)) return FDIERROR_CORRUPT_CABINET;
    if (continuesToNext() && !(flags & flagNext)) return FDIERROR_CORRUPT_CABINET;
    return FDIERROR_NONE;
}

bool CabinetHeader::continuesFromPrevious() const {
    return std::any_of(fileFolders_.begin(), fileFolders_.end(), [](std::uint16_t folder) {
        return folder == continuedFromPrevious || folder == continuedBothWays;
    });
}

bool CabinetHeader::continuesToNext() const {
    return std::any_of(fileFolders_.begin(), fileFolders_.end(),
                       [](std::uint16_t folder) { return folder == continuedToNext || folder == continuedBothWays; });
}
