#include <gtest/gtest.h>

#include <string>

#include "platform/File.h"
#include "platform/FileSystem.h"
#include "support/ScratchFolder.h"

namespace {

std::string readAll(File& file, std::size_t count) {
    std::string bytes(count, '\0');
    bytes.resize(file.read(bytes.data(), count));
    return bytes;
}

TEST(File, WrittenBytesReadBackWithSizeSeekAndShortReadAtTheEnd) {
    ScratchFolder folder(L"fil");
    const std::wstring path = folder.file(L"data.bin");
    {
        File file;
        ASSERT_TRUE(file.open(path, File::Mode::Create));
        EXPECT_TRUE(file.write("0123456789", 10));
        EXPECT_EQ(file.position(), 10);
    }
    File file;
    ASSERT_TRUE(file.open(path, File::Mode::Read));
    EXPECT_EQ(file.size(), 10);
    EXPECT_EQ(readAll(file, 4), "0123");
    EXPECT_EQ(file.position(), 4);
    ASSERT_TRUE(file.seek(7));
    EXPECT_EQ(readAll(file, 8), "789");  // only what is left
    EXPECT_EQ(readAll(file, 8), "");
    EXPECT_FALSE(file.seek(-1));
    EXPECT_FALSE(file.write("x", 1));  // opened for reading only
}

TEST(File, CreateTruncatesAnExistingFile) {
    ScratchFolder folder(L"fil");
    const std::wstring path = folder.file(L"data.bin");
    File file;
    ASSERT_TRUE(file.open(path, File::Mode::Create));
    ASSERT_TRUE(file.write("long contents", 13));
    ASSERT_TRUE(file.open(path, File::Mode::Create));  // reopening closes the first
    ASSERT_TRUE(file.write("ab", 2));
    file.close();
    ASSERT_TRUE(file.open(path, File::Mode::Read));
    EXPECT_EQ(file.size(), 2);
}

TEST(File, ReaderMaySeeAFileThatIsStillBeingWritten) {
    ScratchFolder folder(L"fil");
    const std::wstring path = folder.file(L"shared.bin");
    File writer;
    ASSERT_TRUE(writer.open(path, File::Mode::Create));
    ASSERT_TRUE(writer.write("abc", 3));
    File reader;
    ASSERT_TRUE(reader.open(path, File::Mode::Read));
    EXPECT_EQ(readAll(reader, 3), "abc");
}

TEST(File, MissingFilesAndFoldersDoNotOpenAndAClosedFileAnswersSafely) {
    ScratchFolder folder(L"fil");
    File file;
    EXPECT_FALSE(file.open(folder.file(L"absent.bin"), File::Mode::Read));
    EXPECT_FALSE(file.open(folder.path(), File::Mode::Read));
    EXPECT_FALSE(file.open(folder.file(L"absent") + platform::pathSeparator() + L"x.bin", File::Mode::Create));
    EXPECT_FALSE(file.isOpen());
    EXPECT_EQ(file.size(), -1);
    EXPECT_EQ(file.position(), -1);
    char byte;
    EXPECT_EQ(file.read(&byte, 1), 0u);
    EXPECT_FALSE(file.write(&byte, 1));
    EXPECT_FALSE(file.seek(0));
}

TEST(File, MovingHandsTheOpenFileOver) {
    ScratchFolder folder(L"fil");
    File first;
    ASSERT_TRUE(first.open(folder.file(L"moved.bin"), File::Mode::Create));
    File second(std::move(first));
    EXPECT_FALSE(first.isOpen());
    EXPECT_TRUE(second.write("z", 1));
    File third;
    third = std::move(second);
    EXPECT_FALSE(second.isOpen());
    EXPECT_EQ(third.size(), 1);
}

TEST(File, SizesAndPositionsBeyondFourGigabytes) {
    ScratchFolder folder(L"fil");
    const std::wstring path = folder.file(L"sparse.bin");
    const std::int64_t far = (std::int64_t{1} << 32) + 5;
    {
        File file;
        ASSERT_TRUE(file.open(path, File::Mode::Create));
        ASSERT_TRUE(file.seek(far));
        if (!file.write("e", 1)) GTEST_SKIP() << "the temporary folder takes no file this large";
    }
    File file;
    ASSERT_TRUE(file.open(path, File::Mode::Read));
    EXPECT_EQ(file.size(), far + 1);
    ASSERT_TRUE(file.seek(far));
    EXPECT_EQ(file.position(), far);
    EXPECT_EQ(readAll(file, 2), "e");
}

}  // namespace
