#include "maintenance/Fdi.h"

#include <new>

#include "app/Texts.h"
#include "maintenance/FdiExtractor.h"

namespace {

constexpr int firstErrorText = 5027;  // FDIERROR_NONE; the codes follow in order
constexpr int undefinedErrorText = 5039;

void failCreate(FdiErrorRecord* errors, FdiError error) {
    if (!errors) return;
    errors->erfOper = error;
    errors->erfType = 0;
    errors->fError = true;
}

}  // namespace

FdiHandle FDICreate(FdiAlloc alloc, FdiFree free, FdiOpen open, FdiRead read, FdiWrite write, FdiClose close,
                    FdiSeek seek, int /*cpuType*/, FdiErrorRecord* errorRecord) {
    const FdiCallbacks callbacks{alloc, free, open, read, write, close, seek};
    int sizesAgree = 0;
    MSPACK_SYS_SELFTEST(sizesAgree);
    if (!callbacks.complete() || sizesAgree != MSPACK_ERR_OK) {
        failCreate(errorRecord, FDIERROR_NONE);
        return nullptr;
    }
    void* memory = alloc(sizeof(FdiExtractor));
    if (!memory) {
        failCreate(errorRecord, FDIERROR_ALLOC_FAIL);
        return nullptr;
    }
    if (errorRecord) *errorRecord = FdiErrorRecord{};
    return new (memory) FdiExtractor(callbacks, errorRecord);
}

bool FDICopy(FdiHandle handle, const char* cabinetName, const char* cabinetPath, int /*flags*/, FdiNotify notify,
             FdiDecrypt /*decrypt*/, void* context) {
    if (!handle) return false;
    return handle->copy(cabinetName ? cabinetName : "", cabinetPath ? cabinetPath : "", notify, context);
}

bool FDIDestroy(FdiHandle handle) {
    if (!handle) return false;
    const FdiFree free = handle->callbacks().free;
    handle->~FdiExtractor();
    free(handle);
    return true;
}

std::wstring fdiErrorMessage(std::int32_t code) {
    if (code < FDIERROR_NONE || code > FDIERROR_USER_ABORT) return loadText(undefinedErrorText);
    return loadText(firstErrorText + code);
}
