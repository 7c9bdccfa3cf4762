// Extraction onto a card folder: files dated, protected and checked; every
// failure leaves none of the cabinet's files and nothing outside the folder touched.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ctime>

#ifdef _WIN32
#include <windows.h>
#endif

#include "app/Exception.h"
#include "app/Texts.h"
#include "cabinet/CabinetBuilder.h"
#include "maintenance/CabinetName.h"
#include "maintenance/CabinetRestore.h"
#include "platform/File.h"
#include "platform/FileSystem.h"
#include "platform/FileTimes.h"
#include "support/ScratchFolder.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::string readAll(const std::wstring& path) {
    File file;
    if (!file.open(path, File::Mode::Read)) return "<missing>";
    std::string bytes(static_cast<std::size_t>(file.size()), '\0');
    bytes.resize(file.read(bytes.data(), bytes.size()));
    return bytes;
}

void writeAll(const std::wstring& path, const std::string& bytes) {
    File file;
    ASSERT_TRUE(file.open(path, File::Mode::Create));
    ASSERT_TRUE(file.write(bytes.data(), bytes.size()));
}

class CabinetRestoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(platform::createFolder(card));
        writeAll(victim, "keep me");
    }
    void TearDown() override {
        for (const std::wstring& name : cardFiles()) {
            platform::makeNormal(platform::joinPath(card, name));
            platform::deleteFile(platform::joinPath(card, name));
        }
        platform::deleteFolder(card);
    }

    std::vector<std::wstring> cardFiles() const {
        std::vector<platform::FolderEntry> entries;
        platform::listFolder(card, entries);
        std::vector<std::wstring> names;
        for (const platform::FolderEntry& entry : entries) names.push_back(entry.name);
        std::sort(names.begin(), names.end());
        return names;
    }

    void extract(const CabinetBuilder& cabinet) {
        writeAll(cabinetPath, cabinet.build());
        restore.extract(cabinetPath);
    }

    // The message of the IOException that the extraction ends with.
    std::wstring failureOf(const std::wstring& path) {
        try {
            restore.extract(path);
        } catch (const IOException& failure) {
            return failure.message();
        }
        return L"<no failure>";
    }
    std::wstring failureOf(const CabinetBuilder& cabinet) {
        writeAll(cabinetPath, cabinet.build());
        return failureOf(cabinetPath);
    }

    ScratchFolder scratch{L"cab"};
    const std::wstring card = scratch.file(L"card");
    const std::wstring victim = scratch.file(L"victim.txt");
    const std::wstring cabinetPath = scratch.file(L"program.cab");
    CabinetRestore restore{card};
};

CabinetBuilder programCabinet() {
    CabinetBuilder cabinet;
    const int plain = cabinet.addFolder(CabinetBuilder::stored);
    const int zipped = cabinet.addFolder(CabinetBuilder::mszip);
    cabinet.addFile(zipped, "PROGRAM.BIN", std::string(50000, 'p'), 0x3ACF, 0x528F);  // 2009-06-15 10:20:30
    cabinet.addFile(plain, "BOOT.BIN", "boot", 0x3B21, 0x6000);                       // 2009-09-01 12:00:00
    return cabinet;
}

TEST_F(CabinetRestoreTest, FilesAreRecordedInCabinetOrderDatedAndProtected) {
    extract(programCabinet());
    const std::vector<ExtractedFile>& files = restore.files();
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0].path, platform::joinPath(card, L"PROGRAM.BIN"));
    EXPECT_EQ(files[0].size, 50000u);
    EXPECT_EQ(files[0].date, 0x3ACF);
    EXPECT_EQ(files[0].time, 0x528F);
    EXPECT_EQ(files[1].path, platform::joinPath(card, L"BOOT.BIN"));
    EXPECT_EQ(readAll(files[0].path), std::string(50000, 'p'));
    EXPECT_EQ(readAll(files[1].path), "boot");

    CalendarTime written;
    ASSERT_TRUE(platform::fileWriteStamp(files[0].path, written));
    EXPECT_EQ(written, (CalendarTime{2009, 6, 15, 10, 20, 30}));
    ASSERT_TRUE(platform::fileWriteStamp(files[1].path, written));
    EXPECT_EQ(written, (CalendarTime{2009, 9, 1, 12, 0, 0}));
#ifdef _WIN32
    CalendarTime created;
    ASSERT_TRUE(platform::fileCreationStamp(files[0].path, created));
    EXPECT_EQ(created, (CalendarTime{2009, 6, 15, 10, 20, 30}));
    for (const ExtractedFile& file : files) {
        EXPECT_TRUE(platform::isHidden(file.path));
        EXPECT_TRUE(platform::isReadOnly(file.path));
    }
#endif
}

// A FAT card keeps local times and the system converts them with today's
// offset. Whatever today's season, one of these stamps lies in the other one,
// and must still read back as the cabinet has it (cabinet_tests_in_europe runs
// this where daylight saving applies).
TEST_F(CabinetRestoreTest, StampsOfEitherSeasonReadBackFromAFatCardAsTheCabinetHasThem) {
    CabinetBuilder cabinet;
    const int folder = cabinet.addFolder(CabinetBuilder::stored);
    cabinet.addFile(folder, "WINTER.BIN", "w", 0x3A2F, 0x4000);  // 2009-01-15 08:00:00
    cabinet.addFile(folder, "SUMMER.BIN", "s", 0x3AEF, 0x4000);  // 2009-07-15 08:00:00
    extract(cabinet);
    CalendarTime stamp;
    ASSERT_TRUE(platform::fileWriteStamp(platform::joinPath(card, L"WINTER.BIN"), stamp));
    EXPECT_EQ(stamp, (CalendarTime{2009, 1, 15, 8, 0, 0}));
    ASSERT_TRUE(platform::fileWriteStamp(platform::joinPath(card, L"SUMMER.BIN"), stamp));
    EXPECT_EQ(stamp, (CalendarTime{2009, 7, 15, 8, 0, 0}));
}

#ifdef _WIN32
// A name not flagged UTF-8 is in the ANSI code page: Shift-JIS "録画.BIN" on a
// Japanese system, and whatever those bytes spell in a Western one (where the
// OEM code page differs; cabinet_tests_in_europe), but always a file whose name
// goes back to the cabinet's bytes through the program's narrow road.
TEST_F(CabinetRestoreTest, ShiftJisNameIsCreatedThroughTheAnsiCodePage) {
    const std::string shiftJis = "\x98\x5E\x89\xE6.BIN";
    CabinetBuilder cabinet;
    cabinet.addFile(cabinet.addFolder(CabinetBuilder::stored), shiftJis, "recording");
    extract(cabinet);
    const std::vector<std::wstring> names = cardFiles();
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(wideToNarrow(names[0]), shiftJis);
    if (GetACP() == 932) EXPECT_EQ(names[0], L"録画.BIN");
    EXPECT_EQ(readAll(platform::joinPath(card, names[0])), "recording");
}
#endif

TEST_F(CabinetRestoreTest, HiddenReadOnlyLeftoversAreReplaced) {
    const std::wstring leftover = platform::joinPath(card, L"BOOT.BIN");
    writeAll(leftover, "old boot program, longer than the new one");
    platform::makeHiddenReadOnly(leftover);
    extract(programCabinet());
    EXPECT_EQ(readAll(leftover), "boot");
}

// Such a stamp is skipped: the file keeps the time it was written at, and is
// not moved to the day the stamp would roll over to (2 March).
TEST_F(CabinetRestoreTest, StampThatNamesNoDayLeavesTheFileUndatedButExtracted) {
    CabinetBuilder cabinet;
    cabinet.addFile(cabinet.addFolder(CabinetBuilder::stored), "ODD.BIN", "odd", 0x3A5E /* 30 February 2009 */, 0);
    // File systems keep write times to two seconds at the coarsest.
    const std::int64_t before = static_cast<std::int64_t>(std::time(nullptr)) - 2;
    extract(cabinet);
    const std::int64_t after = static_cast<std::int64_t>(std::time(nullptr)) + 2;
    CalendarTime written;
    ASSERT_TRUE(platform::fileWriteTime(platform::joinPath(card, L"ODD.BIN"), written));
    EXPECT_NE(written, (CalendarTime{2009, 3, 2, 0, 0, 0}));
    std::int64_t writtenAt = 0;
    ASSERT_TRUE(platform::localToTimeValue(written, writtenAt));
    EXPECT_GE(writtenAt, before);
    EXPECT_LE(writtenAt, after);
    EXPECT_EQ(readAll(platform::joinPath(card, L"ODD.BIN")), "odd");
}

TEST_F(CabinetRestoreTest, FolderThatDoesNotExistAbortsAndEarlierFilesAreDeleted) {
    CabinetBuilder cabinet = programCabinet();
    cabinet.addFile(0, "MISSING\\INNER.BIN", "inner");
    EXPECT_EQ(failureOf(cabinet), L"ターゲットファイルの書き込みに失敗しました。");
    EXPECT_THAT(cardFiles(), IsEmpty());
    EXPECT_EQ(restore.files().size(), 3u);  // the failed one was recorded too
}

TEST_F(CabinetRestoreTest, NamesReachingOutOfTheCardAreRefusedAndTouchNothingOutside) {
    for (const char* name : {"..\\victim.txt", "../victim.txt", "X\\..\\..\\victim.txt", "\\victim.txt", "/victim.txt",
                             "C:\\victim.txt", "C:victim.txt", "..", ". .\\victim.txt", "CON", "nul.txt", "com1.bin"}) {
        CabinetBuilder cabinet = programCabinet();
        cabinet.addFile(0, name, "overwritten");
        EXPECT_EQ(failureOf(cabinet), loadText(5035)) << name;
        EXPECT_EQ(readAll(victim), "keep me") << name;
        EXPECT_THAT(cardFiles(), IsEmpty()) << name;
        EXPECT_EQ(restore.files().size(), 2u) << name;  // the refused name is never recorded
    }
}

TEST_F(CabinetRestoreTest, CabinetFailingHalfWayLeavesNoneOfItsFiles) {
    CabinetBuilder cabinet = programCabinet();
    const int broken = cabinet.addFolder(CabinetBuilder::mszip);
    cabinet.addEntry({"LATE.BIN", 100, 0, static_cast<std::uint16_t>(broken)});
    cabinet.setBlocks(broken, {{std::string("CK") + std::string(20, '\xFF'), 100}});
    EXPECT_EQ(failureOf(cabinet), L"データの展開に失敗しました。");
    EXPECT_THAT(cardFiles(), IsEmpty());
}

TEST_F(CabinetRestoreTest, FileOfTheWrongLengthFailsTheLengthCheckAndAllAreDeleted) {
    CabinetBuilder cabinet = programCabinet();
    cabinet.addFile(0, "BOOT.BIN", "a later, longer boot.bin");  // overwrites the first one
    EXPECT_EQ(failureOf(cabinet), L"一部のファイルの展開に失敗しました。");
    EXPECT_THAT(cardFiles(), IsEmpty());
}

TEST_F(CabinetRestoreTest, CabinetProblemsCarryTheirMessages) {
    EXPECT_EQ(failureOf(CabinetBuilder()), loadText(5031));  // no folders, no files
    CabinetBuilder typeFour;
    typeFour.addFile(typeFour.addFolder(4), "A.BIN", "a");
    EXPECT_EQ(failureOf(typeFour), L"圧縮形式が不明です。");
    writeAll(cabinetPath, "not a cabinet");
    EXPECT_EQ(failureOf(cabinetPath), L"キャビネットではありません。");
    EXPECT_EQ(failureOf(scratch.file(L"absent.cab")), L"キャビネットが見つかりません。");
    EXPECT_THAT(cardFiles(), IsEmpty());
}

TEST(CabinetName, PlainNamesAndSubfoldersAreKept) {
    const std::wstring separator(1, platform::pathSeparator());
    std::wstring relative;
    ASSERT_TRUE(cabinetNameToRelativePath("PROGRAM.BIN", false, relative));
    EXPECT_EQ(relative, L"PROGRAM.BIN");
    ASSERT_TRUE(cabinetNameToRelativePath("SYS\\BOOT.BIN", false, relative));
    EXPECT_EQ(relative, L"SYS" + separator + L"BOOT.BIN");
    ASSERT_TRUE(cabinetNameToRelativePath("..hidden..name", false, relative));
    EXPECT_EQ(relative, L"..hidden..name");
    ASSERT_TRUE(cabinetNameToRelativePath("CONFIG.SYS", false, relative));  // only a device name itself is refused
    ASSERT_TRUE(cabinetNameToRelativePath("\xE8\xA8\xAD\xE5\xAE\x9A.INI", true, relative));
    EXPECT_EQ(relative, L"設定.INI");
}

TEST(CabinetName, NamesThatCouldLeaveTheFolderAreRefused) {
    std::wstring relative = L"untouched";
    for (const char* name : {"", "\\", "a\\\\b", "a\\", "..", "...", ". ", "a/./b", "D:", "file:stream",
                             "\\\\server\\x", "tab\there", "AUX", "prn.txt", "Lpt9", "conout$", "NUL .txt"}) {
        EXPECT_FALSE(cabinetNameToRelativePath(name, false, relative)) << name;
    }
    EXPECT_EQ(relative, L"untouched");
}

}  // namespace
