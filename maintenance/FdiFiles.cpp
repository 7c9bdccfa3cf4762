#include "maintenance/FdiFiles.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <memory>
#include <new>

#include "platform/File.h"
#include "platform/Utf8.h"

namespace {

constexpr std::uint32_t largestTransfer = std::numeric_limits<std::int32_t>::max();

File* fileOf(std::intptr_t handle) {
    return reinterpret_cast<File*>(handle);
}

std::intptr_t openFile(const std::wstring& path, File::Mode mode) {
    std::unique_ptr<File> file(new (std::nothrow) File);
    if (!file || !file->open(path, mode)) return -1;
    return reinterpret_cast<std::intptr_t>(file.release());
}

}  // namespace

FdiHandle FdiFiles::createExtractor(FdiErrorRecord* errors) {
    return FDICreate(&FdiFiles::alloc, &FdiFiles::free, &FdiFiles::open, &FdiFiles::read, &FdiFiles::write,
                     &FdiFiles::close, &FdiFiles::seek, 1, errors);
}

std::intptr_t FdiFiles::create(const std::wstring& path) {
    return openFile(path, File::Mode::Create);
}

void* FdiFiles::alloc(std::uint32_t size) {
    return std::malloc(size);
}

void FdiFiles::free(void* memory) {
    std::free(memory);
}

std::intptr_t FdiFiles::open(const char* path, int openFlags, int /*permission*/) {
    const bool writes = (openFlags & (O_WRONLY | O_RDWR)) != 0;
    return openFile(fromUtf8(path), writes ? File::Mode::Create : File::Mode::Read);
}

std::int32_t FdiFiles::read(std::intptr_t handle, void* buffer, std::uint32_t count) {
    const std::size_t done = fileOf(handle)->read(buffer, std::min(count, largestTransfer));
    return static_cast<std::int32_t>(done);
}

std::int32_t FdiFiles::write(std::intptr_t handle, const void* buffer, std::uint32_t count) {
    if (count > largestTransfer || !fileOf(handle)->write(buffer, count)) return -1;
    return static_cast<std::int32_t>(count);
}

int FdiFiles::close(std::intptr_t handle) {
    delete fileOf(handle);
    return 0;
}

std::int64_t FdiFiles::seek(std::intptr_t handle, std::int64_t distance, int origin) {
    File& file = *fileOf(handle);
    std::int64_t base = 0;
    if (origin == SEEK_CUR) {
        base = file.position();
    } else if (origin == SEEK_END) {
        base = file.size();
    } else if (origin != SEEK_SET) {
        return -1;
    }
    if (base < 0 || (distance > 0 && base > std::numeric_limits<std::int64_t>::max() - distance)) return -1;
    const std::int64_t target = base + distance;
    return target >= 0 && file.seek(target) ? target : -1;
}
