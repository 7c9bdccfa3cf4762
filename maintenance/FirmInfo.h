#pragma once
// The recorder's settings file (TAVR.INI, written by the viewer) and firmware
// information file (FIRMINFO.DAT, written by the recorder) share one format: a
// header item carrying the model code, then eight-byte items of a big-endian
// identifier, five value bytes and an exclusive-or check byte. FirmInfo is the
// table of such items with the readers, the writer, a verifier and one setter
// per setting the viewer changes.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "maintenance/CardFileWriter.h"

class SettingsFileSource;

class FirmInfo {
public:
    static constexpr std::size_t itemSize = 8;
    static constexpr std::size_t valueSize = 5;
    // The recorder reads no more than this many items.
    static constexpr std::size_t maxItems = 78;
    // FIRMINFO.DAT opens with bytes of the recorder's own that the viewer skips.
    static constexpr std::size_t firmwareInfoPrefixSize = 16;

    using Item = std::array<std::uint8_t, itemSize>;

    FirmInfo() = default;
    virtual ~FirmInfo() = default;

    // Replace the table by a file's items. Throws FirmInfoException 5019 when
    // the file cannot be opened, Exception 5019 when its start is bad.
    void readSettingsFile(const std::wstring& path);
    void readFirmwareInfoFile(const std::wstring& path);
    // The same on bytes from any source.
    void readSettings(SettingsFileSource& source);
    void readFirmwareInfo(SettingsFileSource& source);

    // Writes the table as a settings file, left hidden and read-only. With
    // keepOthers the items of the existing file that the table lacks are first
    // appended. Throws FirmInfoException 5020 when the file cannot be created,
    // Exception 5020 when it cannot be written completely; a partly written file
    // is removed so that the recorder never applies half a settings file. The
    // bytes go through writer.
    void writeSettingsFile(const std::wstring& path, bool keepOthers,
                           const CardFileWriter& writer = CardFileWriter::direct());
    // Throws FirmInfoException 5007 when the file does not read back as the table.
    void verifySettingsFile(const std::wstring& path) const;

    // The five value bytes of item id; FirmInfoException with no text when absent.
    std::uint8_t* findItem(std::uint16_t id);
    const std::uint8_t* findItem(std::uint16_t id) const;
    // As findItem, adding an item of 0xFF bytes when absent; FirmInfoException
    // with no text when the table is full.
    std::uint8_t* findOrAddItem(std::uint16_t id);

    // Item 0x0101: the local date and time at which the recorder sets its clock.
    // FirmInfoException 5021 when the time value has no local time.
    void setRecorderClock(std::int64_t time);
    void setShockSensitivity(int value);
    void setEcoSensitivity(int value);
    // The card restore's detection values, written after setShockSensitivity.
    void setStandardDetectionValues();
    void setOperationVolume(int index);
    void setEventVolume(int index);
    void setGuidanceVolume(int index);
    void setOverwrite(int value);

    std::size_t itemCount() const { return count_; }
    const Item& item(std::size_t index) const { return items_[index]; }
    static std::uint16_t itemId(const Item& item) { return static_cast<std::uint16_t>(item[0] << 8 | item[1]); }

    // The settings file's bytes for the table, storing each item's check byte.
    std::vector<std::uint8_t> settingsFileBytes();

private:
    void readItems(SettingsFileSource& source, bool firmwareInfo);
    void appendItem(const Item& item);
    void mergeItemsOf(const FirmInfo& existing);
    Item* find(std::uint16_t id);
    const Item* find(std::uint16_t id) const;

    std::array<Item, maxItems> items_{};
    std::size_t count_ = 0;
};

// Makes a card file normal (so that hidden or read-only files can go) and
// deletes it; failures are ignored. Every card file that is rewritten goes first.
void deleteFile(const std::wstring& path);
