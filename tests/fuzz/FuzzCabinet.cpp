// The cabinet extractor on arbitrary bytes, read through memory callbacks: every
// name opens the same bytes, so a cabinet set finds only itself. A file reported
// closed must have exactly its declared size, and no handle may stay open.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "maintenance/Fdi.h"

namespace {

// Extracted files beyond these are skipped, so one input cannot decode for long.
constexpr int largestFileCount = 16;
constexpr std::uint64_t largestOutput = 64u << 20;

struct Handle {
    bool output;
    std::size_t position;  // read position, or bytes written
};

const std::uint8_t* input = nullptr;
std::size_t inputSize = 0;
int openHandles = 0;
int filesCopied = 0;
std::uint64_t bytesWritten = 0;

Handle& handleOf(std::intptr_t handle) {
    return *reinterpret_cast<Handle*>(handle);
}

std::intptr_t newHandle(bool output) {
    ++openHandles;
    return reinterpret_cast<std::intptr_t>(new Handle{output, 0});
}

void* fuzzAlloc(std::uint32_t size) {
    return std::malloc(size);
}
void fuzzFree(void* memory) {
    std::free(memory);
}

std::intptr_t fuzzOpen(const char*, int flags, int) {
    return flags == fdiOpenFlags ? newHandle(false) : -1;
}

std::int32_t fuzzRead(std::intptr_t handle, void* buffer, std::uint32_t count) {
    Handle& file = handleOf(handle);
    if (file.output) std::abort();
    const std::size_t left = file.position < inputSize ? inputSize - file.position : 0;
    const std::size_t done = count < left ? count : left;
    if (done) std::memcpy(buffer, input + file.position, done);
    file.position += done;
    return static_cast<std::int32_t>(done);
}

std::int32_t fuzzWrite(std::intptr_t handle, const void*, std::uint32_t count) {
    Handle& file = handleOf(handle);
    if (!file.output) std::abort();
    file.position += count;
    bytesWritten += count;
    return static_cast<std::int32_t>(count);
}

int fuzzClose(std::intptr_t handle) {
    delete &handleOf(handle);
    --openHandles;
    return 0;
}

std::int64_t fuzzSeek(std::intptr_t handle, std::int64_t distance, int origin) {
    Handle& file = handleOf(handle);
    if (file.output) std::abort();
    const std::int64_t base = origin == SEEK_SET   ? 0
                              : origin == SEEK_CUR ? static_cast<std::int64_t>(file.position)
                                                   : static_cast<std::int64_t>(inputSize);
    if (distance < -base || distance > (std::int64_t{1} << 40)) return -1;
    file.position = static_cast<std::size_t>(base + distance);
    return base + distance;
}

std::intptr_t fuzzNotify(FdiNotificationType kind, FdiNotification* record) {
    switch (kind) {
        case fdintCOPY_FILE:
            if (!record->psz1) std::abort();
            if (filesCopied == largestFileCount || bytesWritten > largestOutput) return 0;
            ++filesCopied;
            return newHandle(true);
        case fdintCLOSE_FILE_INFO:
            if (handleOf(record->hf).position != record->cb) std::abort();
            fuzzClose(record->hf);
            return 1;
        default:
            return 0;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    input = data;
    inputSize = size;
    filesCopied = 0;
    bytesWritten = 0;
    FdiErrorRecord errors;
    FdiHandle extractor =
        FDICreate(fuzzAlloc, fuzzFree, fuzzOpen, fuzzRead, fuzzWrite, fuzzClose, fuzzSeek, 1, &errors);
    if (!extractor) std::abort();
    const bool copied = FDICopy(extractor, "fuzz.cab", "", 0, fuzzNotify, nullptr, nullptr);
    FDIDestroy(extractor);
    if (copied == errors.fError || errors.erfOper < FDIERROR_NONE || errors.erfOper > FDIERROR_USER_ABORT) {
        std::abort();
    }
    if (openHandles != 0) std::abort();
    return 0;
}
