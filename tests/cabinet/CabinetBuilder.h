#pragma once
// Builds cabinets byte by byte for the tests: folders stored, in MSZIP blocks
// (deflate from zlib behind "CK") or as raw blocks given by the test, and the
// set fields, reserve areas and file entries that gcab cannot write. Data block
// checksums are left 0, which the format allows.
#include <cstdint>
#include <string>
#include <vector>

class CabinetBuilder {
public:
    static constexpr std::uint16_t stored = 0;
    static constexpr std::uint16_t mszip = 1;
    static constexpr std::uint16_t defaultDate = 0x3ACF;  // 2009-06-15
    static constexpr std::uint16_t defaultTime = 0x528F;  // 10:20:30

    struct Block {
        std::string bytes;
        std::uint16_t uncompressedSize;  // 0: the block goes on in the next cabinet
    };
    struct Entry {
        std::string name;
        std::uint32_t size = 0;
        std::uint32_t offset = 0;
        std::uint16_t folder = 0;  // an index, or 0xFFFD, 0xFFFE, 0xFFFF for spanning files
        std::uint16_t date = defaultDate;
        std::uint16_t time = defaultTime;
        std::uint16_t attribs = 0x20;
    };

    // A folder with the given compression type field; returns its index.
    int addFolder(std::uint16_t type);
    // Appends data to the folder and lists a file for it. Stored and MSZIP
    // folders get their blocks made from the data; any other type stores it raw.
    void addFile(int folder, const std::string& name, const std::string& data, std::uint16_t date = defaultDate,
                 std::uint16_t time = defaultTime, std::uint16_t attribs = 0x20);
    // Lists a file without adding data.
    void addEntry(const Entry& entry) { entries_.push_back(entry); }
    // The folder's blocks exactly as given, instead of those made from its data.
    void setBlocks(int folder, std::vector<Block> blocks);

    void setVersion(std::uint8_t major, std::uint8_t minor);
    void setSet(std::uint16_t setID, std::uint16_t index);
    void setPrevious(const std::string& cabinet, const std::string& disk);
    void setNext(const std::string& cabinet, const std::string& disk);
    void setReserve(std::uint16_t header, std::uint8_t folder, std::uint8_t data);

    std::string build() const;

private:
    struct Folder {
        std::uint16_t type;
        std::string data;
        std::vector<Block> blocks;
        bool blocksGiven = false;
    };

    std::vector<Block> blocksOf(const Folder& folder) const;

    std::vector<Folder> folders_;
    std::vector<Entry> entries_;
    std::uint8_t major_ = 1;
    std::uint8_t minor_ = 3;
    std::uint16_t setID_ = 0x1234;
    std::uint16_t index_ = 0;
    std::string previous_[2];
    std::string next_[2];
    bool hasReserve_ = false;
    std::uint16_t headerReserve_ = 0;
    std::uint8_t folderReserve_ = 0;
    std::uint8_t dataReserve_ = 0;
};
