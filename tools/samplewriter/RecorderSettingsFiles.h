#pragma once
// The card's settings file "TAVR.INI" and firmware information file
// "FIRMINFO.DAT": a header item and 8-byte items (16-bit identifier, five
// value bytes, a check byte that is the exclusive-or of the seven before it);
// FIRMINFO.DAT has 16 more bytes in front.
#include <array>
#include <cstdint>
#include <vector>

#include "tools/samplewriter/RecorderBlocks.h"

namespace samplewriter {

struct SettingsItem {
    std::uint16_t id = 0;
    std::array<std::uint8_t, 5> value{0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
};

// Value bytes holding two BCD digits in byte 0 (the rest 0xFF).
SettingsItem twoDigitItem(std::uint16_t id, int value);
// Value bytes holding four BCD digits in bytes 0-1 (the rest 0xFF).
SettingsItem fourDigitItem(std::uint16_t id, int value);

Bytes buildSettingsItem(const SettingsItem& item);  // 8 bytes with the check byte
Bytes buildSettingsFile(std::uint8_t modelMajor, std::uint8_t modelMinor, const std::vector<SettingsItem>& items);
Bytes buildFirmwareInfoFile(const std::array<std::uint8_t, 16>& prefix, std::uint8_t modelMajor,
                            std::uint8_t modelMinor, const std::vector<SettingsItem>& items);

// What a recorder fresh from a card restore reads: operation volume standard,
// shock sensitivity 45 and the standard detection companions.
std::vector<SettingsItem> standardSettingsItems();
// What a recorder in use reports in FIRMINFO.DAT (shock 45, eco 40,
// overwrite on, three volumes, and one item the viewer does not know).
std::vector<SettingsItem> reportedSettingsItems();

}  // namespace samplewriter
