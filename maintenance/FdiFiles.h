#pragma once
// The extractor's memory and file callbacks for files on disk: memory from the C
// heap, files as platform File objects behind the integer handles. Narrow paths
// are UTF-8 both ways, so no code page can lose a character of a cabinet's path.
#include <cstdint>
#include <string>

#include "maintenance/Fdi.h"

class FdiFiles {
public:
    // FDICreate with these callbacks.
    static FdiHandle createExtractor(FdiErrorRecord* errors);
    // A new, empty file for the copy-file notification to answer; -1 on failure.
    static std::intptr_t create(const std::wstring& path);

    static void* alloc(std::uint32_t size);
    static void free(void* memory);
    static std::intptr_t open(const char* path, int openFlags, int permission);
    static std::int32_t read(std::intptr_t handle, void* buffer, std::uint32_t count);
    static std::int32_t write(std::intptr_t handle, const void* buffer, std::uint32_t count);
    static int close(std::intptr_t handle);
    static std::int64_t seek(std::intptr_t handle, std::int64_t distance, int origin);
};
