#include "tools/samplewriter/RecorderSettingsFiles.h"

namespace samplewriter {
namespace {

constexpr std::uint16_t kOperationVolume = 0x0301;
constexpr std::uint16_t kGuidanceVolume = 0x0303;
constexpr std::uint16_t kEventVolume = 0x0304;
constexpr std::uint16_t kEcoSensitivity = 0x0714;
constexpr std::uint16_t kEcoCompanion = 0x0715;
constexpr std::uint16_t kShockSensitivity = 0x0801;
constexpr std::uint16_t kShockCompanion1 = 0x0802;
constexpr std::uint16_t kShockCompanion2 = 0x0803;
constexpr std::uint16_t kShockCompanion3 = 0x0804;
constexpr std::uint16_t kOverwrite = 0x1801;
constexpr std::uint16_t kUnknownToViewer = 0x2001;

Bytes headerItem(std::uint8_t modelMajor, std::uint8_t modelMinor) {
    SettingsItem header;
    header.id = 0x0001;
    header.value = {modelMajor, modelMinor, 0xFF, 0xFF, 0xFF};
    return buildSettingsItem(header);
}

}  // namespace

SettingsItem twoDigitItem(std::uint16_t id, int value) {
    SettingsItem item;
    item.id = id;
    item.value[0] = encodeBcd(static_cast<std::uint32_t>(value), 2)[0];
    return item;
}

SettingsItem fourDigitItem(std::uint16_t id, int value) {
    SettingsItem item;
    item.id = id;
    const Bytes digits = encodeBcd(static_cast<std::uint32_t>(value), 4);
    item.value[0] = digits[0];
    item.value[1] = digits[1];
    return item;
}

Bytes buildSettingsItem(const SettingsItem& item) {
    Bytes bytes = {static_cast<std::uint8_t>(item.id >> 8), static_cast<std::uint8_t>(item.id)};
    bytes.insert(bytes.end(), item.value.begin(), item.value.end());
    std::uint8_t check = 0;
    for (std::uint8_t byte : bytes) check ^= byte;
    bytes.push_back(check);
    return bytes;
}

Bytes buildSettingsFile(std::uint8_t modelMajor, std::uint8_t modelMinor, const std::vector<SettingsItem>& items) {
    Bytes file = headerItem(modelMajor, modelMinor);
    for (const SettingsItem& item : items) appendBytes(file, buildSettingsItem(item));
    return file;
}

Bytes buildFirmwareInfoFile(const std::array<std::uint8_t, 16>& prefix, std::uint8_t modelMajor,
                            std::uint8_t modelMinor, const std::vector<SettingsItem>& items) {
    Bytes file(prefix.begin(), prefix.end());
    appendBytes(file, buildSettingsFile(modelMajor, modelMinor, items));
    return file;
}

std::vector<SettingsItem> standardSettingsItems() {
    return {twoDigitItem(kOperationVolume, 0), fourDigitItem(kShockSensitivity, 45),
            fourDigitItem(kShockCompanion1, 100), fourDigitItem(kShockCompanion2, 200),
            fourDigitItem(kShockCompanion3, 40)};
}

std::vector<SettingsItem> reportedSettingsItems() {
    SettingsItem unknown;
    unknown.id = kUnknownToViewer;
    unknown.value = {0x01, 0x23, 0x45, 0x67, 0x89};
    return {twoDigitItem(kOperationVolume, 0),
            twoDigitItem(kGuidanceVolume, 0),
            twoDigitItem(kEventVolume, 1),
            fourDigitItem(kEcoSensitivity, 40),
            twoDigitItem(kEcoCompanion, 5),
            fourDigitItem(kShockSensitivity, 45),
            twoDigitItem(kShockCompanion1, 10),
            twoDigitItem(kShockCompanion2, 20),
            twoDigitItem(kShockCompanion3, 4),
            twoDigitItem(kOverwrite, 1),
            unknown};
}

}  // namespace samplewriter
