#pragma once
// Card files for the maintenance dialog tests: the sample card's FIRMINFO.DAT
// (shock 45, eco 40, overwrite on, volumes 0/1/0 and one item the viewer does
// not know) with chosen values replaced, and reading TAVR.INI back.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/ModelCode.h"
#include "maintenance/CardFileWriter.h"
#include "maintenance/FirmInfo.h"
#include "platform/File.h"
#include "tools/samplewriter/RecorderSettingsFiles.h"

namespace cardfiles {

constexpr std::uint16_t shockItem = 0x0801;
constexpr std::uint16_t ecoItem = 0x0714;
constexpr std::uint16_t overwriteItem = 0x1801;
constexpr std::uint16_t operationVolumeItem = 0x0301;
constexpr std::uint16_t eventVolumeItem = 0x0304;
constexpr std::uint16_t guidanceVolumeItem = 0x0303;
constexpr std::uint16_t clockItem = 0x0101;
constexpr std::uint16_t unknownItem = 0x2001;

using Items = std::vector<samplewriter::SettingsItem>;

inline Items sampleItems() {
    return samplewriter::reportedSettingsItems();
}

// Replaces the value bytes of item id (two or four BCD digits), or drops the
// item when value is empty.
inline void replaceItem(Items& items, std::uint16_t id, std::optional<int> value) {
    for (auto at = items.begin(); at != items.end(); ++at) {
        if (at->id != id) continue;
        if (!value) {
            items.erase(at);
            return;
        }
        const bool fourDigits = id == shockItem || id == ecoItem;
        *at = fourDigits ? samplewriter::fourDigitItem(id, *value) : samplewriter::twoDigitItem(id, *value);
        return;
    }
}

// A card that takes the first item of a write and then gives up, as one pulled
// out or full would.
class CardFailingHalfWay : public CardFileWriter {
public:
    bool write(File& file, const void* data, std::size_t count) const override {
        file.write(data, std::min(count, FirmInfo::itemSize));
        return false;
    }
};

// A card that keeps other bytes than it was given (the last one changed) and
// reports success: only reading the file back finds out.
class CardKeepingOtherBytes : public CardFileWriter {
public:
    bool write(File& file, const void* data, std::size_t count) const override {
        const auto* bytes = static_cast<const std::uint8_t*>(data);
        std::vector<std::uint8_t> kept(bytes, bytes + count);
        if (!kept.empty()) kept.back() ^= 0x01;
        return file.write(kept.data(), kept.size());
    }
};

inline bool writeBytes(const std::wstring& path, const std::vector<std::uint8_t>& bytes) {
    File file;
    return file.open(path, File::Mode::Create) && file.write(bytes.data(), bytes.size());
}

inline bool writeFirmwareInfo(const std::wstring& path, const Items& items) {
    std::array<std::uint8_t, 16> prefix{};
    prefix.fill(0x5A);
    return writeBytes(path, samplewriter::buildFirmwareInfoFile(prefix, modelCode().major, modelCode().minor, items));
}

inline bool writeSettings(const std::wstring& path, const Items& items) {
    return writeBytes(path, samplewriter::buildSettingsFile(modelCode().major, modelCode().minor, items));
}

inline std::vector<std::uint16_t> idsOf(const FirmInfo& table) {
    std::vector<std::uint16_t> ids;
    for (std::size_t i = 0; i < table.itemCount(); ++i) ids.push_back(FirmInfo::itemId(table.item(i)));
    return ids;
}

// The value bytes of item id.
inline std::vector<std::uint8_t> valueOf(const FirmInfo& table, std::uint16_t id) {
    const std::uint8_t* value = table.findItem(id);
    return {value, value + FirmInfo::valueSize};
}

}  // namespace cardfiles
