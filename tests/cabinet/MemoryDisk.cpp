#include "cabinet/MemoryDisk.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

struct Handle {
    std::string* bytes;
    std::size_t position = 0;
    bool failWrites = false;
};

struct State {
    std::map<std::string, std::string> files;    // cabinets, by path
    std::map<std::string, std::string> outputs;  // written files, by name in the cabinet
    std::vector<Notice> notices;
    std::function<std::optional<std::intptr_t>(FdiNotificationType, FdiNotification&)> rule;
    int allocationsLeft = -1;
    std::string failingName;
    int open = 0;
};

State& state() {
    static State instance;
    return instance;
}

std::intptr_t handleFor(std::string& bytes, bool failWrites = false) {
    ++state().open;
    return reinterpret_cast<std::intptr_t>(new Handle{&bytes, 0, failWrites});
}

Handle& handleOf(std::intptr_t handle) {
    return *reinterpret_cast<Handle*>(handle);
}

void* memoryAlloc(std::uint32_t size) {
    if (state().allocationsLeft == 0) return nullptr;
    if (state().allocationsLeft > 0) --state().allocationsLeft;
    return std::malloc(size);
}

void memoryFree(void* memory) {
    std::free(memory);
}

std::intptr_t memoryOpen(const char* path, int flags, int) {
    if (flags != fdiOpenFlags) return -1;
    const auto file = state().files.find(path);
    return file == state().files.end() ? -1 : handleFor(file->second);
}

std::int32_t memoryRead(std::intptr_t handle, void* buffer, std::uint32_t count) {
    Handle& file = handleOf(handle);
    const std::size_t available = file.bytes->size() - std::min(file.position, file.bytes->size());
    const std::size_t done = std::min<std::size_t>(count, available);
    std::memcpy(buffer, file.bytes->data() + file.position, done);
    file.position += done;
    return static_cast<std::int32_t>(done);
}

std::int32_t memoryWrite(std::intptr_t handle, const void* buffer, std::uint32_t count) {
    Handle& file = handleOf(handle);
    if (file.failWrites) return -1;
    file.bytes->append(static_cast<const char*>(buffer), count);
    return static_cast<std::int32_t>(count);
}

int memoryClose(std::intptr_t handle) {
    delete &handleOf(handle);
    --state().open;
    return 0;
}

std::int64_t memorySeek(std::intptr_t handle, std::int64_t distance, int origin) {
    Handle& file = handleOf(handle);
    const std::int64_t base = origin == SEEK_SET   ? 0
                              : origin == SEEK_CUR ? static_cast<std::int64_t>(file.position)
                                                   : static_cast<std::int64_t>(file.bytes->size());
    if (base + distance < 0) return -1;
    file.position = static_cast<std::size_t>(base + distance);
    return base + distance;
}

std::intptr_t standardAnswer(FdiNotificationType kind, FdiNotification& record) {
    if (kind == fdintCOPY_FILE) {
        std::string& output = state().outputs[record.psz1];
        output.clear();
        return handleFor(output, record.psz1 == state().failingName);
    }
    if (kind == fdintCLOSE_FILE_INFO) {
        memoryClose(record.hf);
        return 1;
    }
    return 0;
}

std::intptr_t recordingNotify(FdiNotificationType kind, FdiNotification* record) {
    state().notices.push_back(Notice{kind, record->psz1 ? record->psz1 : "", record->psz2 ? record->psz2 : "",
                                     record->psz3 ? record->psz3 : "", *record});
    if (state().rule) {
        if (const std::optional<std::intptr_t> answer = state().rule(kind, *record)) return *answer;
    }
    return standardAnswer(kind, *record);
}

}  // namespace

void MemoryDisk::reset() {
    state() = State{};
}

void MemoryDisk::put(const std::string& path, std::string bytes) {
    state().files[path] = std::move(bytes);
}

std::optional<std::string> MemoryDisk::output(const std::string& name) {
    const auto file = state().outputs.find(name);
    if (file == state().outputs.end()) return std::nullopt;
    return file->second;
}

FdiHandle MemoryDisk::create(FdiErrorRecord* errors) {
    return FDICreate(memoryAlloc, memoryFree, memoryOpen, memoryRead, memoryWrite, memoryClose, memorySeek, 1, errors);
}

bool MemoryDisk::copy(FdiHandle extractor, const std::string& name, const std::string& folder) {
    return FDICopy(extractor, name.c_str(), folder.c_str(), 0, recordingNotify, nullptr, nullptr);
}

const std::vector<Notice>& MemoryDisk::notices() {
    return state().notices;
}

std::vector<FdiNotificationType> MemoryDisk::kinds() {
    std::vector<FdiNotificationType> kinds;
    for (const Notice& notice : state().notices) kinds.push_back(notice.kind);
    return kinds;
}

std::vector<std::string> MemoryDisk::copiedNames() {
    std::vector<std::string> names;
    for (const Notice& notice : state().notices) {
        if (notice.kind == fdintCOPY_FILE) names.push_back(notice.psz1);
    }
    return names;
}

int MemoryDisk::openHandles() {
    return state().open;
}

void MemoryDisk::closeHandle(std::intptr_t handle) {
    memoryClose(handle);
}

void MemoryDisk::answerWith(std::function<std::optional<std::intptr_t>(FdiNotificationType, FdiNotification&)> rule) {
    state().rule = std::move(rule);
}

void MemoryDisk::refuseAllocationsAfter(int count) {
    state().allocationsLeft = count;
}

void MemoryDisk::failWritesTo(const std::string& name) {
    state().failingName = name;
}
