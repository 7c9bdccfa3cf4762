#pragma once
// Unpacks a cabinet file into a folder of the card the way the recorder wants
// its program files: every file carries the cabinet's date and time and is left
// hidden and read-only. Every file written is recorded, and when any step fails
// all recorded files are deleted again, so a failed extraction leaves none of
// them behind.
#include <cstdint>
#include <string>
#include <vector>

#include "maintenance/Fdi.h"

// One file written by an extraction.
struct ExtractedFile {
    std::wstring path;       // destination folder, separator, name from the cabinet
    std::uint32_t size = 0;  // the uncompressed size the cabinet declares
    std::uint16_t date = 0;  // MS-DOS date and time stored in the cabinet
    std::uint16_t time = 0;
};

class CabinetRestore {
public:
    explicit CabinetRestore(std::wstring destinationFolder);

    // Throws IOException: 5040 when no extractor can be made, the extractor's
    // message (5027 to 5039) when the copy fails, 5041 when a file written does
    // not have the length the cabinet declares.
    void extract(const std::wstring& cabinetPath);

    // The files of the last extraction, in the order the cabinet delivered them.
    const std::vector<ExtractedFile>& files() const { return files_; }

private:
    static std::intptr_t notify(FdiNotificationType kind, FdiNotification* record);
    std::intptr_t copyFile(const FdiNotification& record);

    void copyCabinet(const std::wstring& cabinetPath);
    void dateFiles() const;
    void protectFiles() const;
    bool lengthsMatch() const;
    void deleteFiles() const;

    std::wstring destination_;
    std::vector<ExtractedFile> files_;
};
