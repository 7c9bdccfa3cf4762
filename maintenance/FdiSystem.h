#pragma once
// The decoder library's table of I/O and memory functions, routed to the
// callbacks given to FDICreate: every read of a cabinet and every allocation goes
// through the caller. What the library writes goes to the one handle that the
// caller answered for the file being extracted.
#include <mspack.h>

#include <cstdint>

#include "maintenance/Fdi.h"

struct FdiCallbacks {
    FdiAlloc alloc = nullptr;
    FdiFree free = nullptr;
    FdiOpen open = nullptr;
    FdiRead read = nullptr;
    FdiWrite write = nullptr;
    FdiClose close = nullptr;
    FdiSeek seek = nullptr;

    bool complete() const { return alloc && free && open && read && write && close && seek; }
};

class FdiSystem {
public:
    explicit FdiSystem(const FdiCallbacks& callbacks);
    FdiSystem(const FdiSystem&) = delete;
    FdiSystem& operator=(const FdiSystem&) = delete;

    mspack_system* table() { return &table_; }

    // Marks this system as the one the library's calls on this thread belong to:
    // the library copies the table it is given, so a pointer to the table cannot
    // lead back to its owner. Scopes nest.
    class Use {
    public:
        explicit Use(FdiSystem& system);
        ~Use();
        Use(const Use&) = delete;
        Use& operator=(const Use&) = delete;

    private:
        FdiSystem* previous_;
    };
    const FdiCallbacks& callbacks() const { return callbacks_; }

    // Where the library's next output file goes.
    void setOutput(std::intptr_t handle) { output_ = handle; }
    // Cleared at the start of each copy; tells a refused allocation from other failures.
    void clearFailures() { outOfMemory_ = false; }
    bool outOfMemory() const { return outOfMemory_; }

private:
    static FdiSystem& current();

    static mspack_file* open(mspack_system* table, const char* path, int mode);
    static void close(mspack_file* file);
    static int read(mspack_file* file, void* buffer, int count);
    static int write(mspack_file* file, void* buffer, int count);
    static int seek(mspack_file* file, off_t offset, int mode);
    static off_t tell(mspack_file* file);
    static void message(mspack_file* file, const char* format, ...);
    static void* alloc(mspack_system* table, size_t size);
    static void free(void* memory);
    static void copy(void* source, void* target, size_t size);

    void* allocate(size_t size);
    mspack_file* openStream(std::intptr_t handle, bool output);

    mspack_system table_{};
    FdiCallbacks callbacks_;
    std::intptr_t output_ = -1;
    bool outOfMemory_ = false;
};
