#pragma once
// The settings that the settings dialog edits, as they travel between the card
// files and the dialog: the two sensitivities in hundredths of G and the four
// drop-down lists as their selection indexes.
#include <cstdint>
#include <functional>
#include <string>

#include "maintenance/CardFileWriter.h"

class FirmInfo;

struct RecorderSettings {
    // Drop-down list of the overwrite setting: index 0 "する", index 1 "しない".
    static constexpr int overwriteOn = 0;
    static constexpr int overwriteOff = 1;
    // Drop-down lists of the volumes: 0 "標準", 1 "大", 2 "OFF".
    static constexpr int volumeChoices = 3;

    int shockSensitivity = 45;
    int ecoSensitivity = 40;
    int overwriteIndex = overwriteOn;
    int operationVolumeIndex = 0;
    int eventVolumeIndex = 0;
    int guidanceVolumeIndex = 0;

    bool operator==(const RecorderSettings&) const = default;
};

// The settings a recorder reports in its firmware information table. Each item
// is read on its own: a missing item, or one whose digits are not decimal, keeps
// its default.
RecorderSettings readRecorderSettings(const FirmInfo& reported);

// Sets the items of the settings in the order the recorder expects them in
// TAVR.INI (shock, overwrite, operation and event volume, eco, guidance volume).
// Throws FirmInfoException when the table is full.
void storeRecorderSettings(FirmInfo& table, const RecorderSettings& settings);

// Fills an empty table with fill, writes it to path keeping the other items of
// the file already there, and reads it back. False on any failure; a file that
// was (partly) written is then deleted, so that the recorder never applies half
// a settings file. A failure before writing leaves the existing file alone.
bool writeCardSettings(const std::wstring& path, const std::function<void(FirmInfo&)>& fill,
                       const CardFileWriter& writer = CardFileWriter::direct());

// The card's files in its root folder.
std::wstring settingsFilePath(const std::wstring& cardFolder);
std::wstring firmwareInfoPath(const std::wstring& cardFolder);
