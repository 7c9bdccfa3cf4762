#pragma once
// The extractor's callbacks over files held in memory, and a notification
// callback that writes every file into memory and remembers what it was told.
// The callbacks carry no context, so the state is process-wide: reset() it at
// the start of each test.
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "maintenance/Fdi.h"

struct Notice {
    FdiNotificationType kind;
    std::string psz1;
    std::string psz2;
    std::string psz3;
    FdiNotification record;  // its pointers are not kept valid
};

class MemoryDisk {
public:
    static void reset();

    static void put(const std::string& path, std::string bytes);
    // A file that the notification callback wrote, by its name in the cabinet.
    static std::optional<std::string> output(const std::string& name);

    // FDICreate with the memory callbacks.
    static FdiHandle create(FdiErrorRecord* errors);
    // FDICopy of folder + name with the recording notification callback.
    static bool copy(FdiHandle extractor, const std::string& name, const std::string& folder = "disk/");

    static const std::vector<Notice>& notices();
    static std::vector<FdiNotificationType> kinds();
    static std::vector<std::string> copiedNames();
    static int openHandles();
    // Closes a handle that the notification callback answered.
    static void closeHandle(std::intptr_t handle);

    // Changes the notification callback's answer where it gives a value.
    static void answerWith(std::function<std::optional<std::intptr_t>(FdiNotificationType, FdiNotification&)> rule);
    // Allocations after the first `count` are refused; negative allows all.
    static void refuseAllocationsAfter(int count);
    // Writes to outputs of this name fail.
    static void failWritesTo(const std::string& name);
};
