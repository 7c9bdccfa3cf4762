// Reading the recorder's reported settings item by item, storing them in the
// order the recorder expects, and the card write that never leaves half a file.
#include <gtest/gtest.h>

#include "CardFiles.h"
#include "app/Exception.h"
#include "maintenance/FirmInfo.h"
#include "maintenance/RecorderSettings.h"
#include "maintenance/SettingsFileSource.h"
#include "platform/FileSystem.h"
#include "support/ScratchFolder.h"

namespace {

using namespace cardfiles;
using Bytes = std::vector<std::uint8_t>;

FirmInfo reportedTable(const Items& items) {
    std::array<std::uint8_t, 16> prefix{};
    const Bytes bytes = samplewriter::buildFirmwareInfoFile(prefix, modelCode().major, modelCode().minor, items);
    SettingsFileSource source(bytes.data(), bytes.size());
    FirmInfo table;
    table.readFirmwareInfo(source);
    return table;
}

FirmInfo readBack(const std::wstring& path) {
    FirmInfo table;
    table.readSettingsFile(path);
    return table;
}

class RecorderSettingsTest : public ::testing::Test {
protected:
    void SetUp() override { modelCode() = ModelCode{2, 3}; }
    ScratchFolder card_{L"rs"};
};

TEST_F(RecorderSettingsTest, EachItemIsReadOnItsOwn) {
    Items items = sampleItems();
    replaceItem(items, shockItem, std::nullopt);
    replaceItem(items, ecoItem, 33);
    replaceItem(items, overwriteItem, 0);
    replaceItem(items, operationVolumeItem, 2);
    replaceItem(items, eventVolumeItem, 7);  // no such choice: standard
    replaceItem(items, guidanceVolumeItem, std::nullopt);
    const RecorderSettings settings = readRecorderSettings(reportedTable(items));
    EXPECT_EQ(settings.shockSensitivity, 45);  // default kept
    EXPECT_EQ(settings.ecoSensitivity, 33);
    EXPECT_EQ(settings.overwriteIndex, RecorderSettings::overwriteOff);
    EXPECT_EQ(settings.operationVolumeIndex, 2);
    EXPECT_EQ(settings.eventVolumeIndex, 0);
    EXPECT_EQ(settings.guidanceVolumeIndex, 0);
    EXPECT_EQ(readRecorderSettings(reportedTable({})), RecorderSettings{});
}

TEST_F(RecorderSettingsTest, OutOfRangeValuesPassThroughButNonDecimalDigitsAreSkipped) {
    Items items = sampleItems();
    replaceItem(items, shockItem, 25);
    replaceItem(items, overwriteItem, 5);  // any non-zero value overwrites
    samplewriter::SettingsItem unset;      // an item left as 0xFF bytes
    unset.id = ecoItem;
    for (auto& item : items)
        if (item.id == ecoItem) item = unset;
    const RecorderSettings settings = readRecorderSettings(reportedTable(items));
    EXPECT_EQ(settings.shockSensitivity, 25);
    EXPECT_EQ(settings.ecoSensitivity, 40);
    EXPECT_EQ(settings.overwriteIndex, RecorderSettings::overwriteOn);
}

TEST_F(RecorderSettingsTest, WriteKeepsTheOtherItemsOfTheCardsFile) {
    const std::wstring path = settingsFilePath(card_.path());
    Items existing{samplewriter::twoDigitItem(shockItem, 50), samplewriter::twoDigitItem(unknownItem, 12)};
    ASSERT_TRUE(writeSettings(path, existing));
    ASSERT_TRUE(writeCardSettings(path, [](FirmInfo& table) { table.setOperationVolume(2); }));
    const FirmInfo written = readBack(path);
    EXPECT_EQ(idsOf(written), (std::vector<std::uint16_t>{0x0301, 0x0801, 0x2001}));
    EXPECT_EQ(valueOf(written, unknownItem)[0], 0x12);
}

// The card's TAVR.INI exists; a write that stops half way, or one that reads
// back other bytes, must not leave a file for the recorder to apply.
TEST_F(RecorderSettingsTest, FailedWriteOrVerificationRemovesTheFile) {
    const std::wstring path = settingsFilePath(card_.path());
    const CardFailingHalfWay halfWay;
    const CardKeepingOtherBytes otherBytes;
    for (const CardFileWriter* card : std::initializer_list<const CardFileWriter*>{&halfWay, &otherBytes}) {
        ASSERT_TRUE(writeSettings(path, {samplewriter::twoDigitItem(unknownItem, 34)}));
        EXPECT_FALSE(writeCardSettings(
            path, [](FirmInfo& table) { table.setOverwrite(1); }, *card));
        EXPECT_FALSE(platform::isFile(path));
    }
}

TEST_F(RecorderSettingsTest, FailedFillKeepsTheOldFile) {
    const std::wstring path = settingsFilePath(card_.path());
    ASSERT_TRUE(writeSettings(path, {samplewriter::twoDigitItem(unknownItem, 34)}));
    EXPECT_FALSE(writeCardSettings(path, [](FirmInfo&) { throw FirmInfoException(L"no time"); }));
    ASSERT_TRUE(platform::isFile(path));
    EXPECT_EQ(idsOf(readBack(path)), (std::vector<std::uint16_t>{0x2001}));
}

}  // namespace
