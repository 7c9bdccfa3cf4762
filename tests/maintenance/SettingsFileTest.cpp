#include <gtest/gtest.h>

#include <vector>

#include "SettingsBytes.h"
#include "app/Exception.h"
#include "app/ModelCode.h"
#include "app/Texts.h"
#include "maintenance/FirmInfo.h"
#include "maintenance/SettingsFileSource.h"
#include "platform/FileSystem.h"
#include "platform/LocalTime.h"
#include "support/ScratchFolder.h"

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#endif

namespace {

using namespace settingsbytes;

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override { modelCode() = ModelCode{2, 3}; }

    std::wstring settingsPath() const { return folder_.file(L"TAVR.INI"); }

    static std::vector<std::uint16_t> idsOf(const FirmInfo& table) {
        std::vector<std::uint16_t> ids;
        for (std::size_t i = 0; i < table.itemCount(); ++i) ids.push_back(FirmInfo::itemId(table.item(i)));
        return ids;
    }

    static FirmInfo readSettings(const Bytes& bytes) {
        FirmInfo table;
        SettingsFileSource source(bytes.data(), bytes.size());
        table.readSettings(source);
        return table;
    }

    static FirmInfo readFirmwareInfo(const Bytes& bytes) {
        FirmInfo table;
        SettingsFileSource source(bytes.data(), bytes.size());
        table.readFirmwareInfo(source);
        return table;
    }

    static void expectCannotRead(const Bytes& bytes, bool firmwareInfo) {
        try {
            firmwareInfo ? readFirmwareInfo(bytes) : readSettings(bytes);
            ADD_FAILURE() << "read of " << bytes.size() << " bytes should fail";
        } catch (const Exception& failure) {
            EXPECT_EQ(failure.message(), loadText(5019));
        }
    }

    ScratchFolder folder_{L"set"};
};

TEST_F(SettingsFile, StandardFileHasExactBytesAndIsLeftHiddenAndReadOnly) {
    FirmInfo table;
    table.setOperationVolume(0);
    table.setShockSensitivity(45);
    table.setStandardDetectionValues();
    table.writeSettingsFile(settingsPath(), false);
    table.verifySettingsFile(settingsPath());
    EXPECT_EQ(readFile(settingsPath()), (Bytes{0x00, 0x01, 0x02, 0x03, 0xFF, 0xFF, 0xFF, 0xFF,  //
                                               0x03, 0x01, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x02,  //
                                               0x08, 0x01, 0x00, 0x45, 0xFF, 0xFF, 0xFF, 0xB3,  //
                                               0x08, 0x02, 0x01, 0x00, 0xFF, 0xFF, 0xFF, 0xF4,  //
                                               0x08, 0x03, 0x02, 0x00, 0xFF, 0xFF, 0xFF, 0xF6,  //
                                               0x08, 0x04, 0x00, 0x40, 0xFF, 0xFF, 0xFF, 0xB3}));
#ifdef _WIN32
    EXPECT_TRUE(platform::isHidden(settingsPath()));
    EXPECT_TRUE(platform::isReadOnly(settingsPath()));
#endif
}

TEST_F(SettingsFile, HiddenReadOnlyFileIsOverwritten) {
    ASSERT_TRUE(writeFile(settingsPath(), join({header(), item(0x0801, {0x00, 0x30})})));
    ASSERT_TRUE(platform::makeHiddenReadOnly(settingsPath()));
    FirmInfo table;
    table.setShockSensitivity(60);
    ASSERT_NO_THROW(table.writeSettingsFile(settingsPath(), false));
    ASSERT_NO_THROW(table.verifySettingsFile(settingsPath()));
    FirmInfo written;
    written.readSettingsFile(settingsPath());
    EXPECT_EQ(written.findItem(0x0801)[1], 0x60);
}

TEST_F(SettingsFile, ClockWriteKeepsTheItemsItDoesNotKnowInTheirOrder) {
    const Bytes unknown = item(0x2001, {0xAB, 0xCD, 0xEF, 0x01, 0x23});
    ASSERT_TRUE(writeFile(settingsPath(), join({header(), item(0x0801, {0x00, 0x80}), item(0x1801, {0x00}), unknown})));
    ASSERT_TRUE(platform::makeHiddenReadOnly(settingsPath()));
    std::int64_t time = 0;
    ASSERT_TRUE(platform::localToTimeValue({2010, 12, 31, 23, 59, 0}, time));
    FirmInfo table;
    table.setRecorderClock(time);
    table.writeSettingsFile(settingsPath(), true);
    table.verifySettingsFile(settingsPath());
    EXPECT_EQ(readFile(settingsPath()), join({header(), item(0x0101, {0x10, 0x12, 0x31, 0x23, 0x59}),
                                              item(0x0801, {0x00, 0x80}), item(0x1801, {0x00}), unknown}));
}

TEST_F(SettingsFile, OwnItemsWinOverTheExistingFileWhenMerging) {
    ASSERT_TRUE(writeFile(settingsPath(), join({header(), item(0x0301, {0x02}), item(0x2001, {0x01})})));
    FirmInfo table;
    table.setOperationVolume(1);
    table.writeSettingsFile(settingsPath(), true);
    FirmInfo written;
    written.readSettingsFile(settingsPath());
    EXPECT_EQ(idsOf(written), (std::vector<std::uint16_t>{0x0301, 0x2001}));
    EXPECT_EQ(written.findItem(0x0301)[0], 0x01);
}

TEST_F(SettingsFile, ForeignOrMissingFileGivesNothingToMerge) {
    FirmInfo table;
    table.setOverwrite(0);
    table.writeSettingsFile(settingsPath(), true);  // no file yet
    EXPECT_EQ(readFile(settingsPath()), join({header(), item(0x1801, {0x00})}));

    platform::makeNormal(settingsPath());
    ASSERT_TRUE(writeFile(settingsPath(), join({header(2, 4), item(0x2001, {0x01})})));
    table.writeSettingsFile(settingsPath(), true);
    EXPECT_EQ(readFile(settingsPath()), join({header(), item(0x1801, {0x00})}));
}

TEST_F(SettingsFile, MergingStopsWhenTheTableIsFull) {
    Bytes existing = header();
    for (std::uint16_t id = 0x3000; id < 0x3000 + FirmInfo::maxItems; ++id) {
        existing = join({existing, item(id, {0x11})});
    }
    ASSERT_TRUE(writeFile(settingsPath(), existing));
    FirmInfo table;
    table.setOverwrite(1);
    table.writeSettingsFile(settingsPath(), true);
    table.verifySettingsFile(settingsPath());
    FirmInfo written;
    written.readSettingsFile(settingsPath());
    ASSERT_EQ(written.itemCount(), FirmInfo::maxItems);
    EXPECT_EQ(FirmInfo::itemId(written.item(0)), 0x1801);
    EXPECT_EQ(FirmInfo::itemId(written.item(FirmInfo::maxItems - 1)), 0x3000 + FirmInfo::maxItems - 2);
}

TEST_F(SettingsFile, FirmwareInfoWithAHundredItemsKeepsTheFirst78) {
    Bytes bytes = join({firmwarePrefix(), header()});
    for (std::uint16_t id = 1; id <= 100; ++id) bytes = join({bytes, item(id, {0x42})});
    ASSERT_TRUE(writeFile(folder_.file(L"FIRMINFO.DAT"), bytes));
    FirmInfo table;
    table.readFirmwareInfoFile(folder_.file(L"FIRMINFO.DAT"));
    ASSERT_EQ(table.itemCount(), FirmInfo::maxItems);
    EXPECT_EQ(FirmInfo::itemId(table.item(0)), 1);
    EXPECT_EQ(FirmInfo::itemId(table.item(77)), 78);
    EXPECT_THROW(table.findItem(79), FirmInfoException);
}

TEST_F(SettingsFile, ItemsWithBadCheckBytesAndATrailingPartItemAreSkipped) {
    const Bytes bytes = join({header(), item(0x0801, {0x00, 0x45}, true), item(0x1801, {0x01}),
                              item(0x0301, {0x02}, true), Bytes{0x03, 0x03, 0x00}});
    const FirmInfo table = readSettings(bytes);
    EXPECT_EQ(idsOf(table), (std::vector<std::uint16_t>{0x1801}));
    EXPECT_TRUE(readSettings(header()).itemCount() == 0);
    // Good items after many bad ones still count: the reader does not stop early.
    Bytes noisy = header();
    for (int i = 0; i < 1000; ++i) noisy = join({noisy, item(0x0801, {0x01}, true)});
    noisy = join({noisy, item(0x0714, {0x00, 0x50})});
    EXPECT_EQ(idsOf(readSettings(noisy)), (std::vector<std::uint16_t>{0x0714}));
}

TEST_F(SettingsFile, BadStartsFailWith5019) {
    Bytes badCheck = header();
    badCheck[7] ^= 0x10;
    Bytes badMarker = header();
    badMarker[1] = 0x02;
    badMarker[7] ^= 0x03;
    Bytes otherBytesFourToSix = {0x00, 0x01, 0x02, 0x03, 0x00, 0x00, 0x00, 0x00};  // not judged
    for (const Bytes& bad : {Bytes{}, Bytes{0x00, 0x01, 0x02}, header(2, 4), header(3, 3), badCheck, badMarker}) {
        expectCannotRead(bad, false);
        expectCannotRead(join({firmwarePrefix(), bad}), true);
    }
    expectCannotRead(Bytes(15, 0x00), true);
    expectCannotRead(header(), true);  // the header taken for the prefix
    EXPECT_NO_THROW(readSettings(otherBytesFourToSix));
    EXPECT_NO_THROW(readFirmwareInfo(join({firmwarePrefix(), header()})));
}

TEST_F(SettingsFile, FileThatCannotBeOpenedFailsAsFirmInfoException) {
    FirmInfo table;
    try {
        table.readSettingsFile(folder_.file(L"absent.ini"));
        FAIL();
    } catch (const FirmInfoException& failure) {
        EXPECT_EQ(failure.message(), loadText(5019));
    }
    EXPECT_THROW(table.readFirmwareInfoFile(folder_.file(L"absent.dat")), FirmInfoException);
    try {
        table.writeSettingsFile(folder_.file(L"absent") + platform::pathSeparator() + L"TAVR.INI", true);
        FAIL();
    } catch (const FirmInfoException& failure) {
        EXPECT_EQ(failure.message(), loadText(5020));
    }
}

TEST_F(SettingsFile, VerifyingFindsAFileThatDiffersFromTheTable) {
    FirmInfo table;
    table.setOverwrite(1);
    table.setEventVolume(2);
    table.writeSettingsFile(settingsPath(), false);
    table.setEventVolume(1);
    try {
        table.verifySettingsFile(settingsPath());
        FAIL();
    } catch (const FirmInfoException& failure) {
        EXPECT_EQ(failure.message(), loadText(5007));
    }
    FirmInfo shorter;
    shorter.setOverwrite(1);
    shorter.settingsFileBytes();
    EXPECT_THROW(shorter.verifySettingsFile(settingsPath()), FirmInfoException);
    EXPECT_THROW(shorter.verifySettingsFile(folder_.file(L"absent.ini")), FirmInfoException);
}

TEST_F(SettingsFile, DeleteFileRemovesHiddenReadOnlyFilesAndIgnoresMissingOnes) {
    ASSERT_TRUE(writeFile(settingsPath(), header()));
    ASSERT_TRUE(platform::makeHiddenReadOnly(settingsPath()));
    deleteFile(settingsPath());
    EXPECT_FALSE(platform::isFile(settingsPath()));
    deleteFile(settingsPath());
}

#ifndef _WIN32
// A card that fills up mid-write: the half-written file must not stay behind.
TEST_F(SettingsFile, WriteThatStopsHalfWayLeavesNoFile) {
    FirmInfo table;
    table.setShockSensitivity(45);
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    void (*savedHandler)(int) = signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 20;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    bool failedAsExpected = false;
    try {
        table.writeSettingsFile(settingsPath(), false);
    } catch (const Exception& failure) {
        failedAsExpected = failure.message() == loadText(5020);
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, savedHandler);
    EXPECT_TRUE(failedAsExpected);
    EXPECT_FALSE(platform::isFile(settingsPath()));
}
#endif

}  // namespace
