#pragma once
// One run of FDICopy: opens the cabinet, and the following cabinets of its set
// as far as its files run on into them, sends the notifications in cabinet order
// and has the decoder library write each file to the handle the caller answered.
// Everything it opened is closed when it is destroyed.
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "maintenance/CabinetHeader.h"
#include "maintenance/FdiSystem.h"

class FdiCopy {
public:
    FdiCopy(FdiSystem& system, FdiNotify notify, void* context);
    ~FdiCopy();
    FdiCopy(const FdiCopy&) = delete;
    FdiCopy& operator=(const FdiCopy&) = delete;

    FdiError run(const std::string& cabinetName, const std::string& cabinetPath);
    // The decoder library's error number behind the last failure; 0 if none.
    int libraryError() const { return libraryError_; }

private:
    struct Cabinet {
        std::string path;  // the library keeps a pointer to it for as long as the cabinet is open
        CabinetHeader header;
        mscabd_cabinet* tables = nullptr;
    };

    Cabinet& addCabinet(std::string path);
    FdiError openCabinet(Cabinet& cabinet);
    FdiError openNextCabinet();
    FdiError checkNextCabinet(const Cabinet& last, const Cabinet& next) const;
    FdiError extractFiles();
    bool runsIntoNextCabinet(const mscabd_file& file) const;
    FdiError extractFile(mscabd_file& file);
    FdiError closeFile(FdiNotification& record);
    void markPartialFiles(const Cabinet& cabinet);
    const mscabd_folder* lastFolder() const;

    FdiNotification fileRecord(const mscabd_file& file) const;
    FdiError notifyCabinetInfo(const Cabinet& cabinet);
    FdiError notifyPartialFile(const mscabd_file& file);
    std::intptr_t send(FdiNotificationType kind, FdiNotification& record);

    FdiError openError(int error);
    FdiError extractError(int error);

    FdiSystem& system_;
    FdiNotify notify_;
    void* context_;
    mscab_decompressor* library_ = nullptr;
    std::vector<std::unique_ptr<Cabinet>> cabinets_;
    std::size_t joined_ = 0;  // the first joined_ cabinets are one set to the library
    std::unordered_set<const mscabd_file*> partial_;
    std::unordered_map<const mscabd_file*, std::uint16_t> rawFolders_;
    const mscabd_folder* continued_ = nullptr;  // runs on into a cabinet not opened yet
    char folder_[fdiPathSize] = {};             // where the next cabinet is looked for
    int libraryError_ = 0;
};
