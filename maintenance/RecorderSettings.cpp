#include "maintenance/RecorderSettings.h"

#include <optional>

#include "app/Exception.h"
#include "maintenance/FirmInfo.h"
#include "platform/FileSystem.h"

namespace {

constexpr std::uint16_t itemOperationVolume = 0x0301;
constexpr std::uint16_t itemGuidanceVolume = 0x0303;
constexpr std::uint16_t itemEventVolume = 0x0304;
constexpr std::uint16_t itemEcoSensitivity = 0x0714;
constexpr std::uint16_t itemShockSensitivity = 0x0801;
constexpr std::uint16_t itemOverwrite = 0x1801;

// The recorder stores "do not overwrite" as 0 and "overwrite" as 1.
constexpr int storedOverwriteOff = 0;
constexpr int storedOverwriteOn = 1;

// Packed decimal, high digit first; none when a nibble is not a decimal digit
// (an unset item reads as 0xFF bytes).
std::optional<int> decodeDigits(const std::uint8_t* value, int digitCount) {
    int number = 0;
    for (int digit = 0; digit < digitCount; ++digit) {
        const std::uint8_t byte = value[digit / 2];
        const int nibble = digit % 2 == 0 ? byte >> 4 : byte & 0x0F;
        if (nibble > 9) return std::nullopt;
        number = number * 10 + nibble;
    }
    return number;
}

std::optional<int> reportedValue(const FirmInfo& reported, std::uint16_t id, int digitCount) {
    try {
        return decodeDigits(reported.findItem(id), digitCount);
    } catch (const FirmInfoException&) {
        return std::nullopt;  // the recorder did not report this item
    }
}

// Only the known choices select themselves; anything else is the standard volume.
int volumeIndexOf(int stored) {
    return stored == 1 || stored == 2 ? stored : 0;
}

}  // namespace

RecorderSettings readRecorderSettings(const FirmInfo& reported) {
    RecorderSettings settings;
    if (auto shock = reportedValue(reported, itemShockSensitivity, 4)) settings.shockSensitivity = *shock;
    if (auto eco = reportedValue(reported, itemEcoSensitivity, 4)) settings.ecoSensitivity = *eco;
    if (auto overwrite = reportedValue(reported, itemOverwrite, 2)) {
        settings.overwriteIndex =
            *overwrite == storedOverwriteOff ? RecorderSettings::overwriteOff : RecorderSettings::overwriteOn;
    }
    if (auto volume = reportedValue(reported, itemOperationVolume, 2))
        settings.operationVolumeIndex = volumeIndexOf(*volume);
    if (auto volume = reportedValue(reported, itemEventVolume, 2)) settings.eventVolumeIndex = volumeIndexOf(*volume);
    if (auto volume = reportedValue(reported, itemGuidanceVolume, 2))
        settings.guidanceVolumeIndex = volumeIndexOf(*volume);
    return settings;
}

void storeRecorderSettings(FirmInfo& table, const RecorderSettings& settings) {
    table.setShockSensitivity(settings.shockSensitivity);
    table.setOverwrite(settings.overwriteIndex == RecorderSettings::overwriteOff ? storedOverwriteOff
                                                                                 : storedOverwriteOn);
    table.setOperationVolume(settings.operationVolumeIndex);
    table.setEventVolume(settings.eventVolumeIndex);
    table.setEcoSensitivity(settings.ecoSensitivity);
    table.setGuidanceVolume(settings.guidanceVolumeIndex);
}

bool writeCardSettings(const std::wstring& path, const std::function<void(FirmInfo&)>& fill,
                       const CardFileWriter& writer) {
    FirmInfo table;
    try {
        fill(table);
    } catch (const Exception&) {
        return false;
    }
    try {
        table.writeSettingsFile(path, true, writer);
        table.verifySettingsFile(path);
        return true;
    } catch (const Exception&) {
        deleteFile(path);
        return false;
    }
}

std::wstring settingsFilePath(const std::wstring& cardFolder) {
    return platform::joinPath(cardFolder, L"TAVR.INI");
}

std::wstring firmwareInfoPath(const std::wstring& cardFolder) {
    return platform::joinPath(cardFolder, L"FIRMINFO.DAT");
}
