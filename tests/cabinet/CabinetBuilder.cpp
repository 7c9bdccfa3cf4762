#include "cabinet/CabinetBuilder.h"

#include <zlib.h>

#include <algorithm>
#include <stdexcept>

namespace {

constexpr std::size_t blockLimit = 32768;

void put16(std::string& out, std::uint32_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8 & 0xFF);
}

void put32(std::string& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

void set32(std::string& out, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<char>(value >> (8 * i) & 0xFF);
}

std::string rawDeflate(const std::string& data) {
    z_stream stream{};
    if (deflateInit2(&stream, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) throw std::runtime_error("zlib");
    std::string out(deflateBound(&stream, data.size()) + 16, '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    const int result = deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    if (result != Z_STREAM_END) throw std::runtime_error("deflate");
    return out;
}

}  // namespace

int CabinetBuilder::addFolder(std::uint16_t type) {
    folders_.push_back(Folder{type, {}, {}, false});
    return static_cast<int>(folders_.size() - 1);
}

void CabinetBuilder::addFile(int folder, const std::string& name, const std::string& data, std::uint16_t date,
                             std::uint16_t time, std::uint16_t attribs) {
    Folder& target = folders_.at(folder);
    entries_.push_back(Entry{name, static_cast<std::uint32_t>(data.size()),
                             static_cast<std::uint32_t>(target.data.size()), static_cast<std::uint16_t>(folder), date,
                             time, attribs});
    target.data += data;
}

void CabinetBuilder::setBlocks(int folder, std::vector<Block> blocks) {
    folders_.at(folder).blocks = std::move(blocks);
    folders_.at(folder).blocksGiven = true;
}

void CabinetBuilder::setVersion(std::uint8_t major, std::uint8_t minor) {
    major_ = major;
    minor_ = minor;
}

void CabinetBuilder::setSet(std::uint16_t setID, std::uint16_t index) {
    setID_ = setID;
    index_ = index;
}

void CabinetBuilder::setPrevious(const std::string& cabinet, const std::string& disk) {
    previous_[0] = cabinet;
    previous_[1] = disk;
}

void CabinetBuilder::setNext(const std::string& cabinet, const std::string& disk) {
    next_[0] = cabinet;
    next_[1] = disk;
}

void CabinetBuilder::setReserve(std::uint16_t header, std::uint8_t folder, std::uint8_t data) {
    hasReserve_ = true;
    headerReserve_ = header;
    folderReserve_ = folder;
    dataReserve_ = data;
}

std::vector<CabinetBuilder::Block> CabinetBuilder::blocksOf(const Folder& folder) const {
    if (folder.blocksGiven) return folder.blocks;
    std::vector<Block> blocks;
    for (std::size_t at = 0; at < folder.data.size(); at += blockLimit) {
        const std::string part = folder.data.substr(at, blockLimit);
        const bool compress = (folder.type & 0x0F) == mszip;
        blocks.push_back(Block{compress ? "CK" + rawDeflate(part) : part, static_cast<std::uint16_t>(part.size())});
    }
    return blocks;
}

std::string CabinetBuilder::build() const {
    const std::uint16_t flags = (previous_[0].empty() ? 0 : 1) | (next_[0].empty() ? 0 : 2) | (hasReserve_ ? 4 : 0);
    std::string out = "MSCF";
    put32(out, 0);
    put32(out, 0);  // cabinet size, set below
    put32(out, 0);
    put32(out, 0);  // first file entry, set below
    put32(out, 0);
    out += static_cast<char>(minor_);
    out += static_cast<char>(major_);
    put16(out, static_cast<std::uint32_t>(folders_.size()));
    put16(out, static_cast<std::uint32_t>(entries_.size()));
    put16(out, flags);
    put16(out, setID_);
    put16(out, index_);
    if (hasReserve_) {
        put16(out, headerReserve_);
        out += static_cast<char>(folderReserve_);
        out += static_cast<char>(dataReserve_);
        out.append(headerReserve_, '\0');
    }
    for (const std::string* names : {previous_, next_}) {
        if (names[0].empty()) continue;
        out += names[0] + '\0' + names[1] + '\0';
    }

    std::vector<std::vector<Block>> blocks;
    for (const Folder& folder : folders_) blocks.push_back(blocksOf(folder));
    std::vector<std::size_t> folderAt;
    for (std::size_t i = 0; i < folders_.size(); ++i) {
        folderAt.push_back(out.size());
        put32(out, 0);  // first data block, set below
        put16(out, static_cast<std::uint32_t>(blocks[i].size()));
        put16(out, folders_[i].type);
        out.append(folderReserve_, '\0');
    }
    set32(out, 0x10, static_cast<std::uint32_t>(out.size()));
    for (const Entry& entry : entries_) {
        put32(out, entry.size);
        put32(out, entry.offset);
        put16(out, entry.folder);
        put16(out, entry.date);
        put16(out, entry.time);
        put16(out, entry.attribs);
        out += entry.name + '\0';
    }
    for (std::size_t i = 0; i < folders_.size(); ++i) {
        set32(out, folderAt[i], static_cast<std::uint32_t>(out.size()));
        for (const Block& block : blocks[i]) {
            put32(out, 0);  // no checksum
            put16(out, static_cast<std::uint32_t>(block.bytes.size()));
            put16(out, block.uncompressedSize);
            out.append(dataReserve_, '\0');
            out += block.bytes;
        }
    }
    set32(out, 0x08, static_cast<std::uint32_t>(out.size()));
    return out;
}
