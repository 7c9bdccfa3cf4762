#pragma once
// How far an export has come, reported after each written frame or picture;
// the listener answers whether to go on (a worker thread's cancel button).
#include <cstdint>

class ExportProgress {
public:
    virtual ~ExportProgress() = default;
    // False stops the export; it then leaves nothing behind.
    virtual bool keepGoing(std::int64_t done, std::int64_t total) = 0;
};
