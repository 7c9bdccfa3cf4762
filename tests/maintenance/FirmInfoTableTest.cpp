#include <gtest/gtest.h>

#include <vector>

#include "app/Exception.h"
#include "app/ModelCode.h"
#include "app/Texts.h"
#include "maintenance/FirmInfo.h"
#include "platform/LocalTime.h"

namespace {

using Value = std::vector<std::uint8_t>;

Value valueOf(const FirmInfo& table, std::uint16_t id) {
    const std::uint8_t* value = table.findItem(id);
    return Value(value, value + FirmInfo::valueSize);
}

std::vector<std::uint16_t> idsOf(const FirmInfo& table) {
    std::vector<std::uint16_t> ids;
    for (std::size_t i = 0; i < table.itemCount(); ++i) ids.push_back(FirmInfo::itemId(table.item(i)));
    return ids;
}

TEST(FirmInfoTable, ShockSensitivityWritesFourDigitsAndItsThreeCompanions) {
    FirmInfo table;
    table.setShockSensitivity(45);
    EXPECT_EQ(idsOf(table), (std::vector<std::uint16_t>{0x0801, 0x0802, 0x0803, 0x0804}));
    EXPECT_EQ(valueOf(table, 0x0801), (Value{0x00, 0x45, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(valueOf(table, 0x0802), (Value{0x10, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(valueOf(table, 0x0803), (Value{0x20, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(valueOf(table, 0x0804), (Value{0x04, 0xFF, 0xFF, 0xFF, 0xFF}));
    table.setStandardDetectionValues();
    EXPECT_EQ(valueOf(table, 0x0802), (Value{0x01, 0x00, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(valueOf(table, 0x0803), (Value{0x02, 0x00, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(valueOf(table, 0x0804), (Value{0x00, 0x40, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(table.itemCount(), 4u);
}

TEST(FirmInfoTable, SettersKeepOnlyTheLastDigitsOfTheirItems) {
    FirmInfo table;
    table.setOperationVolume(12);
    EXPECT_EQ(valueOf(table, 0x0301)[0], 0x12);
    table.setOperationVolume(123);
    EXPECT_EQ(valueOf(table, 0x0301)[0], 0x23);
    table.setEventVolume(1);
    table.setGuidanceVolume(2);
    table.setOverwrite(1);
    table.setEcoSensitivity(12345);
    EXPECT_EQ(valueOf(table, 0x0304), (Value{0x01, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(valueOf(table, 0x0303), (Value{0x02, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(valueOf(table, 0x1801), (Value{0x01, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(valueOf(table, 0x0714), (Value{0x23, 0x45, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(valueOf(table, 0x0715), (Value{0x05, 0xFF, 0xFF, 0xFF, 0xFF}));
    table.setEcoSensitivity(-7);  // never valid packed decimal digits from a sign
    EXPECT_EQ(valueOf(table, 0x0714), (Value{0x00, 0x07, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(idsOf(table), (std::vector<std::uint16_t>{0x0301, 0x0304, 0x0303, 0x1801, 0x0714, 0x0715}));
}

TEST(FirmInfoTable, ValueBytesASetterLeavesAloneKeepTheirContent) {
    FirmInfo table;
    std::uint8_t* value = table.findOrAddItem(0x0802);
    value[1] = 0x77;
    table.setShockSensitivity(9999);
    EXPECT_EQ(valueOf(table, 0x0802), (Value{0x10, 0x77, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(valueOf(table, 0x0801), (Value{0x99, 0x99, 0xFF, 0xFF, 0xFF}));
}

TEST(FirmInfoTable, MissingItemsAndAFullTableThrowWithoutText) {
    FirmInfo table;
    try {
        table.findItem(0x0801);
        FAIL() << "no item expected";
    } catch (const FirmInfoException& missing) {
        EXPECT_TRUE(missing.message().empty());
    }
    for (std::uint16_t id = 1; id <= FirmInfo::maxItems; ++id) table.findOrAddItem(id);
    EXPECT_EQ(table.itemCount(), FirmInfo::maxItems);
    EXPECT_NO_THROW(table.findOrAddItem(5));  // present items are still found
    try {
        table.findOrAddItem(0x0801);
        FAIL() << "full table expected";
    } catch (const FirmInfoException& full) {
        EXPECT_TRUE(full.message().empty());
    }
    EXPECT_THROW(table.setOverwrite(1), FirmInfoException);
    EXPECT_EQ(table.itemCount(), FirmInfo::maxItems);
}

TEST(FirmInfoTable, RecorderClockIsTheLocalTimeInPackedDecimal) {
    std::int64_t time = 0;
    ASSERT_TRUE(platform::localToTimeValue({2009, 6, 15, 12, 34, 56}, time));
    FirmInfo table;
    table.setRecorderClock(time);
    EXPECT_EQ(valueOf(table, 0x0101), (Value{0x09, 0x06, 0x15, 0x12, 0x34}));
    ASSERT_TRUE(platform::localToTimeValue({2100, 1, 2, 3, 4, 0}, time));
    table.setRecorderClock(time);
    EXPECT_EQ(valueOf(table, 0x0101), (Value{0x00, 0x01, 0x02, 0x03, 0x04}));
    EXPECT_EQ(table.itemCount(), 1u);
}

TEST(FirmInfoTable, ClockTimeWithoutLocalTimeFailsWith5021AndAddsNothing) {
    FirmInfo table;
    for (std::int64_t time : {std::int64_t{-100000}, INT64_MAX}) {
        try {
            table.setRecorderClock(time);
            FAIL() << "time " << time << " should not convert";
        } catch (const FirmInfoException& failure) {
            EXPECT_EQ(failure.message(), loadText(5021));
        }
    }
    EXPECT_EQ(table.itemCount(), 0u);
}

TEST(FirmInfoTable, SettingsBytesStartWithTheModelCodeHeaderAndSealEveryItem) {
    modelCode() = ModelCode{2, 3};
    FirmInfo table;
    table.setOverwrite(1);
    const std::vector<std::uint8_t> bytes = table.settingsFileBytes();
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{0x00, 0x01, 0x02, 0x03, 0xFF, 0xFF, 0xFF, 0xFF,  //
                                                0x18, 0x01, 0x01, 0xFF, 0xFF, 0xFF, 0xFF, 0x18}));
    EXPECT_EQ(table.item(0)[7], 0x18);  // the table holds what was written, for verifying
}

}  // namespace
