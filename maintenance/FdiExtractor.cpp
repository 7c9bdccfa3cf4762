#include "maintenance/FdiExtractor.h"

#include <new>

#include "maintenance/FdiCopy.h"

FdiExtractor::FdiExtractor(const FdiCallbacks& callbacks, FdiErrorRecord* errors)
    : system_(callbacks), errors_(errors) {}

bool FdiExtractor::copy(const std::string& cabinetName, const std::string& cabinetPath, FdiNotify notify,
                        void* context) {
    if (!notify) return report(FDIERROR_NONE, 0);
    system_.clearFailures();
    const FdiSystem::Use use(system_);
    // The run's own bookkeeping comes from the C++ heap; a refusal there is
    // reported like a refusal of the caller's allocator.
    try {
        FdiCopy run(system_, notify, context);
        const FdiError error = run.run(cabinetName, cabinetPath);
        return report(error, run.libraryError());
    } catch (const std::bad_alloc&) {
        return report(FDIERROR_ALLOC_FAIL, 0);
    }
}

bool FdiExtractor::report(FdiError error, int detail) {
    const bool failed = error != FDIERROR_NONE;
    if (errors_) {
        errors_->erfOper = error;
        errors_->erfType = failed ? detail : 0;
        errors_->fError = failed;
    }
    return !failed;
}
