#include "maintenance/FdiSystem.h"

#include <cstdio>
#include <cstring>
#include <limits>
#include <new>

namespace {

// What the library's file pointers point to; it never looks inside them.
struct Stream {
    FdiSystem* owner;
    std::intptr_t handle;
    bool output;  // the caller's destination: the caller closes it, not the library
};

Stream& streamOf(mspack_file* file) {
    return *reinterpret_cast<Stream*>(file);
}

// Each block starts with the free callback that gives it back, because the
// library frees a block without naming the table it came from. The header keeps
// the caller's alignment for what follows.
struct alignas(std::max_align_t) BlockHeader {
    FdiFree free;
};

constexpr std::size_t headerSize = sizeof(BlockHeader);

thread_local FdiSystem* inUse = nullptr;

int seekOrigin(int mode) {
    switch (mode) {
        case MSPACK_SYS_SEEK_START:
            return SEEK_SET;
        case MSPACK_SYS_SEEK_CUR:
            return SEEK_CUR;
        case MSPACK_SYS_SEEK_END:
            return SEEK_END;
        default:
            return -1;
    }
}

}  // namespace

FdiSystem::FdiSystem(const FdiCallbacks& callbacks) : callbacks_(callbacks) {
    table_.open = &FdiSystem::open;
    table_.close = &FdiSystem::close;
    table_.read = &FdiSystem::read;
    table_.write = &FdiSystem::write;
    table_.seek = &FdiSystem::seek;
    table_.tell = &FdiSystem::tell;
    table_.message = &FdiSystem::message;
    table_.alloc = &FdiSystem::alloc;
    table_.free = &FdiSystem::free;
    table_.copy = &FdiSystem::copy;
    table_.null_ptr = nullptr;
}

FdiSystem::Use::Use(FdiSystem& system) : previous_(inUse) {
    inUse = &system;
}

FdiSystem::Use::~Use() {
    inUse = previous_;
}

FdiSystem& FdiSystem::current() {
    return *inUse;
}

void* FdiSystem::allocate(size_t size) {
    if (size > std::numeric_limits<std::uint32_t>::max() - headerSize) {
        outOfMemory_ = true;
        return nullptr;
    }
    void* block = callbacks_.alloc(static_cast<std::uint32_t>(size + headerSize));
    if (!block) {
        outOfMemory_ = true;
        return nullptr;
    }
    auto* header = static_cast<BlockHeader*>(block);
    header->free = callbacks_.free;
    return static_cast<unsigned char*>(block) + headerSize;
}

void* FdiSystem::alloc(mspack_system*, size_t size) {
    return current().allocate(size);
}

void FdiSystem::free(void* memory) {
    if (!memory) return;
    auto* header = reinterpret_cast<BlockHeader*>(static_cast<unsigned char*>(memory) - headerSize);
    header->free(header);
}

void FdiSystem::copy(void* source, void* target, size_t size) {
    std::memmove(target, source, size);
}

void FdiSystem::message(mspack_file*, const char*, ...) {
    // The library's warnings have no reader: nothing is logged.
}

mspack_file* FdiSystem::openStream(std::intptr_t handle, bool output) {
    void* memory = allocate(sizeof(Stream));
    if (!memory) return nullptr;
    return reinterpret_cast<mspack_file*>(new (memory) Stream{this, handle, output});
}

mspack_file* FdiSystem::open(mspack_system*, const char* path, int mode) {
    FdiSystem& owner = current();
    // The library opens one file for writing per extraction: the handle that the
    // caller answered for it, whatever name the library passes.
    if (mode == MSPACK_SYS_OPEN_WRITE) return owner.openStream(owner.output_, true);
    if (mode != MSPACK_SYS_OPEN_READ) return nullptr;
    const std::intptr_t handle = owner.callbacks_.open(path, fdiOpenFlags, 0);
    if (handle == -1) return nullptr;
    mspack_file* stream = owner.openStream(handle, false);
    if (!stream) owner.callbacks_.close(handle);
    return stream;
}

void FdiSystem::close(mspack_file* file) {
    if (!file) return;
    const Stream& stream = streamOf(file);
    if (!stream.output) stream.owner->callbacks_.close(stream.handle);
    free(file);
}

int FdiSystem::read(mspack_file* file, void* buffer, int count) {
    const Stream& stream = streamOf(file);
    if (count < 0 || stream.output) return -1;
    const std::int32_t done = stream.owner->callbacks_.read(stream.handle, buffer, static_cast<std::uint32_t>(count));
    // An answer beyond the request would make the library read past its buffer.
    return done < 0 || done > count ? -1 : done;
}

int FdiSystem::write(mspack_file* file, void* buffer, int count) {
    const Stream& stream = streamOf(file);
    if (count < 0 || !stream.output) return -1;
    const std::int32_t done = stream.owner->callbacks_.write(stream.handle, buffer, static_cast<std::uint32_t>(count));
    return done < 0 || done > count ? -1 : done;
}

int FdiSystem::seek(mspack_file* file, off_t offset, int mode) {
    const Stream& stream = streamOf(file);
    const int origin = seekOrigin(mode);
    if (origin < 0 || stream.output) return -1;
    return stream.owner->callbacks_.seek(stream.handle, offset, origin) < 0 ? -1 : 0;
}

off_t FdiSystem::tell(mspack_file* file) {
    const Stream& stream = streamOf(file);
    if (stream.output) return -1;
    const std::int64_t position = stream.owner->callbacks_.seek(stream.handle, 0, SEEK_CUR);
    return position < 0 ? -1 : static_cast<off_t>(position);
}
