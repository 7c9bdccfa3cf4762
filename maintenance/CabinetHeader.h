#pragma once
// What the extractor needs from a cabinet's own tables beyond what the decoder
// library reports: the format version, the reserve sizes, and the raw folder
// index of every file, which tells the files that run on from an earlier cabinet
// or into the next one. Read in the library's order: header, optional reserve
// sizes, neighbour names, folder entries, file entries.
#include <cstdint>
#include <string>
#include <vector>

#include "maintenance/FdiSystem.h"

class CabinetHeader {
public:
    // Folder index values of files that span cabinets.
    static constexpr std::uint16_t continuedFromPrevious = 0xFFFD;
    static constexpr std::uint16_t continuedToNext = 0xFFFE;
    static constexpr std::uint16_t continuedBothWays = 0xFFFF;

    // Reads the tables of the cabinet at path. Not found 1, no signature 2,
    // version other than 1.3 3, truncated or inconsistent tables 4.
    FdiError read(const FdiCallbacks& callbacks, const std::string& path);

    std::uint16_t setID() const { return setID_; }
    std::uint16_t index() const { return index_; }
    std::uint8_t folderReserve() const { return folderReserve_; }
    std::uint8_t dataReserve() const { return dataReserve_; }
    const std::vector<std::uint16_t>& fileFolders() const { return fileFolders_; }

    // Some file began in the previous cabinet, so this cabinet's first folder
    // cannot be decoded without it.
    bool continuesFromPrevious() const;
    // Some file runs on into the next cabinet, through this cabinet's last folder.
    bool continuesToNext() const;

private:
    std::uint16_t setID_ = 0;
    std::uint16_t index_ = 0;
    std::uint8_t folderReserve_ = 0;
    std::uint8_t dataReserve_ = 0;
    std::vector<std::uint16_t> fileFolders_;
};
