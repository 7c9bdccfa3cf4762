#pragma once
// The cabinet extractor: create, copy, destroy. It reads a cabinet through the
// caller's file callbacks, takes its memory from the caller's allocator and hands
// every file to the caller's notification callback, which decides where the file
// goes. Names are narrow text; the extractor passes them on as the cabinet stores
// them and never builds a destination path itself. Callbacks must not throw.
#include <fcntl.h>

#include <cstddef>
#include <cstdint>
#include <string>

// Error codes of FdiErrorRecord::erfOper.
enum FdiError : std::int32_t {
    FDIERROR_NONE = 0,
    FDIERROR_CABINET_NOT_FOUND = 1,
    FDIERROR_NOT_A_CABINET = 2,
    FDIERROR_UNKNOWN_CABINET_VERSION = 3,
    FDIERROR_CORRUPT_CABINET = 4,
    FDIERROR_ALLOC_FAIL = 5,
    FDIERROR_BAD_COMPR_TYPE = 6,
    FDIERROR_MDI_FAIL = 7,
    FDIERROR_TARGET_FILE = 8,
    FDIERROR_RESERVE_MISMATCH = 9,
    FDIERROR_WRONG_CABINET = 10,
    FDIERROR_USER_ABORT = 11,
};

// Filled by every operation; erfType carries the decoder library's own error
// number where there is one.
struct FdiErrorRecord {
    std::int32_t erfOper = FDIERROR_NONE;
    std::int32_t erfType = 0;
    bool fError = false;
};

enum FdiNotificationType : std::int32_t {
    fdintCABINET_INFO = 0,     // psz1 next cabinet, psz2 next disk, psz3 this cabinet's folder
    fdintPARTIAL_FILE = 1,     // psz1 name, psz2 first cabinet, psz3 its disk: begins in an earlier cabinet
    fdintCOPY_FILE = 2,        // psz1 name: answer a handle to write to, 0 to skip, -1 to fail (code 8)
    fdintCLOSE_FILE_INFO = 3,  // hf written: close it and answer 1; 0 or -1 fails with code 8
    fdintNEXT_CABINET = 4,     // psz1 name, psz2 disk; psz3 is its folder, may be rewritten (fdiPathSize bytes)
    fdintENUMERATE = 5,        // never sent by this extractor
};

struct FdiNotification {
    std::uint32_t cb = 0;  // uncompressed size of the file
    const char* psz1 = "";
    const char* psz2 = "";
    char* psz3 = nullptr;
    void* pv = nullptr;      // the context given to FDICopy
    std::intptr_t hf = 0;    // the caller's handle, for fdintCLOSE_FILE_INFO
    std::uint16_t date = 0;  // MS-DOS date and time
    std::uint16_t time = 0;
    std::uint16_t attribs = 0;
    std::uint16_t setID = 0;
    std::uint16_t iCabinet = 0;
    std::uint16_t iFolder = 0;
    std::int32_t fdie = FDIERROR_NONE;  // why the last attempt at the next cabinet failed
};

// Every answer of -1 is a failure. read and write answer the bytes moved; seek
// answers the new position for SEEK_SET, SEEK_CUR or SEEK_END.
using FdiAlloc = void* (*)(std::uint32_t size);
using FdiFree = void (*)(void* memory);
using FdiOpen = std::intptr_t (*)(const char* path, int openFlags, int permission);
using FdiRead = std::int32_t (*)(std::intptr_t handle, void* buffer, std::uint32_t count);
using FdiWrite = std::int32_t (*)(std::intptr_t handle, const void* buffer, std::uint32_t count);
using FdiClose = int (*)(std::intptr_t handle);
using FdiSeek = std::int64_t (*)(std::intptr_t handle, std::int64_t distance, int origin);
using FdiNotify = std::intptr_t (*)(FdiNotificationType kind, FdiNotification* record);
// Encrypted cabinets are not supported: a decryption callback is never called.
using FdiDecrypt = int (*)(void* record);

// Size of the buffer behind psz3: the folder that the next cabinet of a set is
// looked for in, with room to spare for the callee to name another one.
inline constexpr std::size_t fdiPathSize = 1024;

// The extractor only ever opens cabinets, binary and read-only, with these flags.
#ifdef O_BINARY
inline constexpr int fdiOpenFlags = O_RDONLY | O_BINARY;
#else
inline constexpr int fdiOpenFlags = O_RDONLY;
#endif

class FdiExtractor;
using FdiHandle = FdiExtractor*;

// Null when the extractor cannot be made; cpuType is accepted for compatibility
// and has no effect.
FdiHandle FDICreate(FdiAlloc alloc, FdiFree free, FdiOpen open, FdiRead read, FdiWrite write, FdiClose close,
                    FdiSeek seek, int cpuType, FdiErrorRecord* errorRecord);

// Extracts the files that begin in cabinetPath + cabinetName, in cabinet order,
// opening the following cabinets of a set as far as a file runs on into them.
// Every copy-file notification answered with a handle is followed by a close-file
// notification, unless the copy fails first: then the extractor closes that handle
// itself with the close callback. False on failure, with the error record set.
bool FDICopy(FdiHandle handle, const char* cabinetName, const char* cabinetPath, int flags, FdiNotify notify,
             FdiDecrypt decrypt, void* context);

// Frees the extractor; false for a null handle.
bool FDIDestroy(FdiHandle handle);

// The user's text for an error code: 5027 to 5038 for codes 0 to 11, 5039 otherwise.
std::wstring fdiErrorMessage(std::int32_t code);
