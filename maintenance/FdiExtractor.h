#pragma once
// The object behind an FDICreate handle: the caller's callbacks and error
// record, and the decoder library's system table built on them.
#include <string>

#include "maintenance/FdiSystem.h"

class FdiExtractor {
public:
    FdiExtractor(const FdiCallbacks& callbacks, FdiErrorRecord* errors);

    bool copy(const std::string& cabinetName, const std::string& cabinetPath, FdiNotify notify, void* context);
    const FdiCallbacks& callbacks() const { return system_.callbacks(); }

private:
    bool report(FdiError error, int detail);

    FdiSystem system_;
    FdiErrorRecord* errors_;
};
