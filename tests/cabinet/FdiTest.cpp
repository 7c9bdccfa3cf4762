// The extractor on cabinets held in memory: notification order, the error codes
// of each failure, and that no handle or memory is left behind by a failure.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "app/Texts.h"
#include "cabinet/CabinetBuilder.h"
#include "cabinet/MemoryDisk.h"
#include "maintenance/Fdi.h"

namespace {

using ::testing::ElementsAre;

std::string pattern(std::size_t size, unsigned noiseKey) {
    std::string data(size, '\0');
    for (std::size_t i = 0; i < size; ++i) data[i] = static_cast<char>((i * 7 + noiseKey + i / 251) & 0xFF);
    return data;
}

std::string readTestCabinet(const char* name) {
    std::ifstream file(std::string(ORVELLE_TEST_DATA) + "/cabinet/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

class Fdi : public ::testing::Test {
protected:
    void SetUp() override {
        MemoryDisk::reset();
        extractor = MemoryDisk::create(&errors);
        ASSERT_NE(extractor, nullptr);
    }
    void TearDown() override {
        FDIDestroy(extractor);
        EXPECT_EQ(MemoryDisk::openHandles(), 0);
    }

    bool copy(const CabinetBuilder& cabinet) {
        MemoryDisk::put("disk/test.cab", cabinet.build());
        return MemoryDisk::copy(extractor, "test.cab");
    }
    bool copyBytes(std::string bytes) {
        MemoryDisk::put("disk/test.cab", std::move(bytes));
        return MemoryDisk::copy(extractor, "test.cab");
    }
    void expectFailure(FdiError code) {
        EXPECT_TRUE(errors.fError);
        EXPECT_EQ(errors.erfOper, code);
    }

    FdiErrorRecord errors;
    FdiHandle extractor = nullptr;
};

// Two folders of different kinds, files over several blocks, in cabinet order.
CabinetBuilder twoFolderCabinet() {
    CabinetBuilder cabinet;
    const int plain = cabinet.addFolder(CabinetBuilder::stored);
    const int zipped = cabinet.addFolder(CabinetBuilder::mszip);
    cabinet.addFile(plain, "FIRST.BIN", pattern(40000, 1), 0x3ACF, 0x528F, 0x21);
    cabinet.addFile(zipped, "SECOND.BIN", pattern(70000, 2), 0x3B21, 0x6000);
    cabinet.addFile(plain, "THIRD.TXT", "third");
    cabinet.addFile(zipped, "EMPTY.TXT", "");
    return cabinet;
}

TEST_F(Fdi, StoredAndMszipFoldersExtractInCabinetOrder) {
    ASSERT_TRUE(copy(twoFolderCabinet()));
    EXPECT_FALSE(errors.fError);
    EXPECT_THAT(MemoryDisk::kinds(), ElementsAre(fdintCABINET_INFO, fdintCOPY_FILE, fdintCLOSE_FILE_INFO,
                                                 fdintCOPY_FILE, fdintCLOSE_FILE_INFO, fdintCOPY_FILE,
                                                 fdintCLOSE_FILE_INFO, fdintCOPY_FILE, fdintCLOSE_FILE_INFO));
    EXPECT_THAT(MemoryDisk::copiedNames(), ElementsAre("FIRST.BIN", "SECOND.BIN", "THIRD.TXT", "EMPTY.TXT"));
    EXPECT_EQ(MemoryDisk::output("FIRST.BIN"), pattern(40000, 1));
    EXPECT_EQ(MemoryDisk::output("SECOND.BIN"), pattern(70000, 2));
    EXPECT_EQ(MemoryDisk::output("THIRD.TXT"), "third");
    EXPECT_EQ(MemoryDisk::output("EMPTY.TXT"), "");

    const FdiNotification& first = MemoryDisk::notices()[1].record;
    EXPECT_EQ(first.cb, 40000u);
    EXPECT_EQ(first.date, 0x3ACF);
    EXPECT_EQ(first.time, 0x528F);
    EXPECT_EQ(first.attribs, 0x21);
    EXPECT_EQ(first.iFolder, 0);
    const FdiNotification& second = MemoryDisk::notices()[3].record;
    EXPECT_EQ(second.date, 0x3B21);
    EXPECT_EQ(second.time, 0x6000);
    EXPECT_EQ(second.iFolder, 1);
    EXPECT_EQ(MemoryDisk::notices()[0].psz3, "disk/");
}

TEST_F(Fdi, CabinetsMadeByAnotherToolExtractWithTheirChecksums) {
    for (const char* name : {"stored.cab", "mszip.cab"}) {
        MemoryDisk::reset();
        ASSERT_TRUE(copyBytes(readTestCabinet(name))) << name << " " << errors.erfOper;
        const std::optional<std::string> program = MemoryDisk::output("PROGRAM.BIN");
        ASSERT_TRUE(program.has_value());
        EXPECT_EQ(program->size(), 10200u);
        EXPECT_EQ(program->substr(0, 34), "line 0000 of the recorder program\n");
        EXPECT_EQ(MemoryDisk::output("README.TXT"), "ORVELLE test cabinet\n");
    }
}

TEST_F(Fdi, DamagedChecksumIsACorruptCabinet) {
    std::string bytes = readTestCabinet("mszip.cab");
    bytes[bytes.size() - 5] ^= 0x40;  // inside the last data block
    EXPECT_FALSE(copyBytes(bytes));
    expectFailure(FDIERROR_CORRUPT_CABINET);
}

TEST_F(Fdi, RejectedCompressionTypesFailWithCode6BeforeTheirFilesAreOpened) {
    // Type 4, and Quantum and LZX with windows their decoders cannot set up.
    for (std::uint16_t type : {0x0004, 0x0E05, 0x1602, 0x0E03, 0x1603}) {
        MemoryDisk::reset();
        CabinetBuilder cabinet;
        cabinet.addFile(cabinet.addFolder(CabinetBuilder::stored), "GOOD.TXT", "good");
        cabinet.addFile(cabinet.addFolder(type), "ODD.BIN", "odd data");
        EXPECT_FALSE(copy(cabinet)) << type;
        expectFailure(FDIERROR_BAD_COMPR_TYPE);
        EXPECT_THAT(MemoryDisk::copiedNames(), ElementsAre("GOOD.TXT")) << type;
    }
    EXPECT_EQ(fdiErrorMessage(errors.erfOper), L"圧縮形式が不明です。");
}

TEST_F(Fdi, TypeWithoutDecoderGivesEmptyFilesButNoData) {
    CabinetBuilder cabinet;
    const int folder = cabinet.addFolder(0x000F);
    cabinet.addFile(folder, "EMPTY.TXT", "");
    ASSERT_TRUE(copy(cabinet));
    EXPECT_EQ(MemoryDisk::output("EMPTY.TXT"), "");

    MemoryDisk::reset();
    cabinet.addFile(folder, "DATA.BIN", "data");
    EXPECT_FALSE(copy(cabinet));
    expectFailure(FDIERROR_MDI_FAIL);
}

TEST_F(Fdi, WhatIsNotACabinetFailsWithCode2) {
    for (const std::string bytes : {std::string(), std::string("MSC"), std::string("MSCX") + std::string(60, '\0'),
                                    std::string("PK\x03\x04 not a cabinet at all, just some bytes")}) {
        EXPECT_FALSE(copyBytes(bytes));
        expectFailure(FDIERROR_NOT_A_CABINET);
    }
    EXPECT_EQ(fdiErrorMessage(errors.erfOper), L"キャビネットではありません。");
    EXPECT_FALSE(MemoryDisk::copy(extractor, "missing.cab"));
    expectFailure(FDIERROR_CABINET_NOT_FOUND);
}

TEST_F(Fdi, VersionOtherThan13FailsWithCode3) {
    for (auto [major, minor] : {std::pair{1, 2}, std::pair{2, 3}, std::pair{0, 0}}) {
        CabinetBuilder cabinet = twoFolderCabinet();
        cabinet.setVersion(static_cast<std::uint8_t>(major), static_cast<std::uint8_t>(minor));
        EXPECT_FALSE(copy(cabinet));
        expectFailure(FDIERROR_UNKNOWN_CABINET_VERSION);
        EXPECT_TRUE(MemoryDisk::copiedNames().empty());
    }
}

TEST_F(Fdi, CorruptMszipBlockFailsWithCode7AndClosesTheOpenFile) {
    CabinetBuilder cabinet;
    cabinet.addFile(cabinet.addFolder(CabinetBuilder::stored), "GOOD.TXT", "good");
    const int zipped = cabinet.addFolder(CabinetBuilder::mszip);
    cabinet.addEntry({"BAD.BIN", 100, 0, static_cast<std::uint16_t>(zipped)});
    // A final block of the reserved deflate type 3.
    cabinet.setBlocks(zipped, {{std::string("CK") + std::string(20, '\xFF'), 100}});
    EXPECT_FALSE(copy(cabinet));
    expectFailure(FDIERROR_MDI_FAIL);
    EXPECT_THAT(MemoryDisk::copiedNames(), ElementsAre("GOOD.TXT", "BAD.BIN"));
    EXPECT_EQ(MemoryDisk::kinds().back(), fdintCOPY_FILE);  // no close-file notice: the extractor closed it
    EXPECT_EQ(fdiErrorMessage(errors.erfOper), L"データの展開に失敗しました。");
}

TEST_F(Fdi, TruncatedCabinetsAreCorrupt) {
    const std::string whole = twoFolderCabinet().build();
    for (std::size_t length : {std::size_t{20}, std::size_t{60}, std::size_t{120}, whole.size() - 3000}) {
        MemoryDisk::reset();
        EXPECT_FALSE(copyBytes(whole.substr(0, length))) << length;
        expectFailure(FDIERROR_CORRUPT_CABINET);
    }
}

TEST_F(Fdi, CopyFileAnswersSkipOrFail) {
    MemoryDisk::answerWith([](FdiNotificationType kind, FdiNotification& record) -> std::optional<std::intptr_t> {
        if (kind == fdintCOPY_FILE && std::string(record.psz1) == "FIRST.BIN") return 0;
        return std::nullopt;
    });
    ASSERT_TRUE(copy(twoFolderCabinet()));
    EXPECT_FALSE(MemoryDisk::output("FIRST.BIN").has_value());
    EXPECT_EQ(MemoryDisk::output("THIRD.TXT"), "third");

    MemoryDisk::reset();
    MemoryDisk::answerWith([](FdiNotificationType kind, FdiNotification& record) -> std::optional<std::intptr_t> {
        if (kind == fdintCOPY_FILE && std::string(record.psz1) == "SECOND.BIN") return -1;
        return std::nullopt;
    });
    EXPECT_FALSE(copy(twoFolderCabinet()));
    expectFailure(FDIERROR_TARGET_FILE);
    EXPECT_THAT(MemoryDisk::copiedNames(), ElementsAre("FIRST.BIN", "SECOND.BIN"));
}

TEST_F(Fdi, FailingWriteOrCloseIsATargetFileError) {
    MemoryDisk::failWritesTo("SECOND.BIN");
    EXPECT_FALSE(copy(twoFolderCabinet()));
    expectFailure(FDIERROR_TARGET_FILE);

    MemoryDisk::reset();
    MemoryDisk::answerWith([](FdiNotificationType kind, FdiNotification& record) -> std::optional<std::intptr_t> {
        if (kind != fdintCLOSE_FILE_INFO) return std::nullopt;
        MemoryDisk::closeHandle(record.hf);
        return 0;  // closed, but not well
    });
    EXPECT_FALSE(copy(twoFolderCabinet()));
    expectFailure(FDIERROR_TARGET_FILE);
    EXPECT_THAT(MemoryDisk::copiedNames(), ElementsAre("FIRST.BIN"));
}

TEST_F(Fdi, CabinetInfoAnsweredWithMinusOneIsAUserAbort) {
    MemoryDisk::answerWith([](FdiNotificationType kind, FdiNotification&) -> std::optional<std::intptr_t> {
        if (kind == fdintCABINET_INFO) return -1;
        return std::nullopt;
    });
    EXPECT_FALSE(copy(twoFolderCabinet()));
    expectFailure(FDIERROR_USER_ABORT);
    EXPECT_TRUE(MemoryDisk::copiedNames().empty());
}

TEST_F(Fdi, RefusedMemoryAtAnyPointFailsWithCode5) {
    const CabinetBuilder cabinet = twoFolderCabinet();
    int allowed = 0;
    for (; allowed < 200; ++allowed) {
        MemoryDisk::reset();
        MemoryDisk::refuseAllocationsAfter(allowed);
        if (copy(cabinet)) break;
        expectFailure(FDIERROR_ALLOC_FAIL);
        ASSERT_EQ(MemoryDisk::openHandles(), 0) << allowed;
    }
    EXPECT_GT(allowed, 10);  // every allocation up to the last one was refused once
    EXPECT_LT(allowed, 200);
}

// One stored folder runs from the first cabinet into the second, its block split
// between them; the second cabinet adds a file of its own.
struct CabinetSet {
    CabinetBuilder first;
    CabinetBuilder second;
};

CabinetSet spanningSet() {
    CabinetSet set;
    set.first.setSet(0x4242, 0);
    set.first.setNext("two.cab", "disk two");
    const int shared = set.first.addFolder(CabinetBuilder::stored);
    set.first.addFile(shared, "HEAD.TXT", "head");
    set.first.addEntry({"SPAN.TXT", 10, 4, 0xFFFE});
    set.first.setBlocks(shared, {{"headHELLO_", 0}});
    set.second.setSet(0x4242, 1);
    set.second.setPrevious("one.cab", "disk one");
    const int continued = set.second.addFolder(CabinetBuilder::stored);
    set.second.addEntry({"SPAN.TXT", 10, 4, 0xFFFD});
    set.second.setBlocks(continued, {{"WORL", 14}});
    set.second.addFile(set.second.addFolder(CabinetBuilder::stored), "TAIL.TXT", "tail");
    return set;
}

TEST_F(Fdi, FileRunningIntoTheNextCabinetIsJoinedWhole) {
    CabinetSet set = spanningSet();
    MemoryDisk::put("disk/two.cab", set.second.build());
    ASSERT_TRUE(copy(set.first)) << errors.erfOper;
    // The next cabinet is joined before the first file of the folder that goes on into it.
    EXPECT_THAT(MemoryDisk::kinds(), ElementsAre(fdintCABINET_INFO, fdintNEXT_CABINET, fdintCABINET_INFO,
                                                 fdintCOPY_FILE, fdintCLOSE_FILE_INFO, fdintCOPY_FILE,
                                                 fdintCLOSE_FILE_INFO, fdintCOPY_FILE, fdintCLOSE_FILE_INFO));
    EXPECT_EQ(MemoryDisk::notices()[0].psz1, "two.cab");
    EXPECT_EQ(MemoryDisk::notices()[1].psz1, "two.cab");
    EXPECT_EQ(MemoryDisk::notices()[1].psz2, "disk two");
    EXPECT_EQ(MemoryDisk::notices()[2].record.iCabinet, 1);
    EXPECT_EQ(MemoryDisk::output("HEAD.TXT"), "head");
    EXPECT_EQ(MemoryDisk::output("SPAN.TXT"), "HELLO_WORL");
    EXPECT_EQ(MemoryDisk::output("TAIL.TXT"), "tail");
}

TEST_F(Fdi, SecondCabinetAloneAnnouncesTheFileThatBeganEarlier) {
    ASSERT_TRUE(copy(spanningSet().second));
    EXPECT_THAT(MemoryDisk::kinds(),
                ElementsAre(fdintCABINET_INFO, fdintPARTIAL_FILE, fdintCOPY_FILE, fdintCLOSE_FILE_INFO));
    EXPECT_EQ(MemoryDisk::notices()[1].psz1, "SPAN.TXT");
    EXPECT_EQ(MemoryDisk::notices()[1].psz2, "one.cab");
    EXPECT_EQ(MemoryDisk::output("TAIL.TXT"), "tail");
}

TEST_F(Fdi, NextCabinetThatIsMissingOrWrongEndsTheCopy) {
    CabinetSet set = spanningSet();
    EXPECT_FALSE(copy(set.first));  // asked for once, not for ever
    expectFailure(FDIERROR_CABINET_NOT_FOUND);

    MemoryDisk::reset();
    set.second.setSet(0x4343, 1);
    MemoryDisk::put("disk/two.cab", set.second.build());
    EXPECT_FALSE(copy(set.first));
    expectFailure(FDIERROR_WRONG_CABINET);

    MemoryDisk::reset();
    set.second.setSet(0x4242, 1);
    set.second.setReserve(0, 4, 0);
    MemoryDisk::put("disk/two.cab", set.second.build());
    EXPECT_FALSE(copy(set.first));
    expectFailure(FDIERROR_RESERVE_MISMATCH);

    MemoryDisk::reset();
    MemoryDisk::answerWith([](FdiNotificationType kind, FdiNotification& record) -> std::optional<std::intptr_t> {
        if (kind != fdintNEXT_CABINET) return std::nullopt;
        std::snprintf(record.psz3, fdiPathSize, "elsewhere/");  // the callee names another folder
        return 0;
    });
    set.second.setReserve(0, 0, 0);
    MemoryDisk::put("elsewhere/two.cab", set.second.build());
    EXPECT_TRUE(copy(set.first)) << errors.erfOper;
    EXPECT_EQ(MemoryDisk::output("SPAN.TXT"), "HELLO_WORL");
}

TEST_F(Fdi, ReserveAreasAreSkipped) {
    CabinetBuilder cabinet = twoFolderCabinet();
    cabinet.setReserve(20, 3, 5);
    ASSERT_TRUE(copy(cabinet)) << errors.erfOper;
    EXPECT_EQ(MemoryDisk::output("SECOND.BIN"), pattern(70000, 2));
}

TEST(FdiInterface, EveryCodeHasItsMessage) {
    for (int code = 0; code <= 11; ++code) EXPECT_EQ(fdiErrorMessage(code), loadText(5027 + code)) << code;
    EXPECT_EQ(fdiErrorMessage(0), L"キャビネット以外のエラーです。");
    EXPECT_EQ(fdiErrorMessage(11), L"ユーザによって中断されました。");
    EXPECT_EQ(fdiErrorMessage(12), L"未定義のエラーです。");
    EXPECT_EQ(fdiErrorMessage(-1), L"未定義のエラーです。");
}

}  // namespace
