// The sample card on disk: layout, settings files and repeatability.
#include <gtest/gtest.h>

#include "platform/File.h"
#include "platform/FileSystem.h"
#include "support/ScratchFolder.h"
#include "tools/samplewriter/SampleCard.h"

using namespace samplewriter;

namespace {

std::vector<std::uint8_t> readAll(const std::wstring& path) {
    File file;
    if (!file.open(path, File::Mode::Read)) return {};
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(std::max<std::int64_t>(file.size(), 0)));
    bytes.resize(file.read(bytes.data(), bytes.size()));
    return bytes;
}

class SampleCardTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = platform::createTemporaryFile(platform::temporaryFolder(), L"osc");
        ASSERT_FALSE(root_.empty());
        platform::deleteFile(root_);
        options_.eventFrames = 40;
        options_.eventWidth = 32;
        options_.eventHeight = 24;
        options_.chapterWidth = 16;
        options_.chapterHeight = 16;
        options_.oneShotCount = 12;
    }

    void TearDown() override { removeFolderTree(root_); }

    std::wstring root_;
    SampleCardOptions options_;
};

}  // namespace

TEST_F(SampleCardTest, WritesEventFoldersChaptersOneShotsAndSettings) {
    SampleCardContents contents;
    ASSERT_TRUE(writeSampleCard(root_, options_, &contents));
    ASSERT_EQ(contents.eventFolders.size(), 4u);
    for (const std::wstring& folder : contents.eventFolders) {
        EXPECT_EQ(platform::parentFolder(folder), platform::joinPath(root_, L"EVENT"));
        EXPECT_TRUE(platform::isFile(platform::joinPath(folder, L"Video.dvt")));
    }
    ASSERT_EQ(contents.chapters.size(), 3u);
    EXPECT_EQ(platform::fileName(contents.chapters[0]), L"Video0001.dmv");
    EXPECT_EQ(platform::fileName(contents.chapters[2]), L"Video0003.dmv");
    ASSERT_EQ(contents.oneShots.size(), 12u);
    for (const std::wstring& path : contents.oneShots) EXPECT_TRUE(platform::isFile(path));

    const std::vector<std::uint8_t> settings = readAll(contents.settingsFile);
    ASSERT_EQ(settings.size(), 6u * 8);
    EXPECT_EQ(std::vector<std::uint8_t>(settings.begin(), settings.begin() + 16),
              (std::vector<std::uint8_t>{0x00, 0x01, 0x02, 0x03, 0xFF, 0xFF, 0xFF, 0xFF,  //
                                         0x03, 0x01, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x03 ^ 0x01}));
    for (std::size_t item = 0; item < settings.size(); item += 8) {
        std::uint8_t check = 0;
        for (std::size_t i = 0; i < 7; ++i) check ^= settings[item + i];
        EXPECT_EQ(settings[item + 7], check) << "item at " << item;
    }
#ifdef _WIN32
    EXPECT_TRUE(platform::isHidden(contents.settingsFile));
    EXPECT_TRUE(platform::isReadOnly(contents.settingsFile));
#endif

    const std::vector<std::uint8_t> firmware = readAll(contents.firmwareInfoFile);
    ASSERT_EQ(firmware.size(), 16u + 12 * 8);
    EXPECT_EQ(std::vector<std::uint8_t>(firmware.begin() + 16, firmware.begin() + 24),
              (std::vector<std::uint8_t>{0x00, 0x01, 0x02, 0x03, 0xFF, 0xFF, 0xFF, 0xFF}));
}

// Same bytes on every run; a smaller card replaces a larger one without
// leaving its extra pictures behind, and the protected settings file is rewritten.
TEST_F(SampleCardTest, RewritingGivesTheSameBytesAndDropsStaleFiles) {
    SampleCardContents first;
    ASSERT_TRUE(writeSampleCard(root_, options_, &first));
    const std::vector<std::uint8_t> event = readAll(platform::joinPath(first.eventFolders[0], L"Video.dvt"));
    const std::vector<std::uint8_t> shot = readAll(first.oneShots[4]);
    ASSERT_FALSE(event.empty());

    options_.oneShotCount = 5;
    SampleCardContents second;
    ASSERT_TRUE(writeSampleCard(root_, options_, &second));
    EXPECT_EQ(readAll(platform::joinPath(second.eventFolders[0], L"Video.dvt")), event);
    EXPECT_EQ(readAll(second.oneShots[4]), shot);
    std::vector<platform::FolderEntry> entries;
    ASSERT_TRUE(platform::listFolder(second.oneShotFolder, entries));
    EXPECT_EQ(entries.size(), 5u);
}

TEST_F(SampleCardTest, ReportsAFolderThatCannotBeCreated) {
    ASSERT_TRUE(platform::createFolder(root_));
    const std::wstring blocker = platform::joinPath(root_, L"file");
    File file;
    ASSERT_TRUE(file.open(blocker, File::Mode::Create));
    file.close();
    EXPECT_FALSE(writeSampleCard(platform::joinPath(blocker, L"card"), options_));
}
