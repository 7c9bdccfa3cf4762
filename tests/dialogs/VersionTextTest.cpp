// The version text of the version dialog, from the version resource.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/Texts.h"
#include "platform/File.h"
#include "platform/FileSystem.h"
#include "ui/main/VersionText.h"
#include "ProductVersion.h"

namespace {

TEST(VersionText, DigitsAndTheFirstTwoCommasMakeTheText) {
    EXPECT_EQ(formatFileVersion(L"2,1,0,5"), L"2.1.0");
    EXPECT_EQ(formatFileVersion(L"1, 0, 2, 0"), L"1.0.2");
    EXPECT_EQ(formatFileVersion(L"10, 20"), L"10.20");
    EXPECT_EQ(formatFileVersion(L"1.2.3"), L"123");
    EXPECT_EQ(formatFileVersion(L""), L"");
}

// The resource, the command-line tool and the package name share one version.
TEST(VersionText, OurExecutableCarriesTheProjectVersion) {
    EXPECT_EQ(getVersionText(), L"" ORVELLE_VERSION_TEXT);
}

TEST(VersionText, FileWithoutVersionResourceGivesText5002) {
    const std::wstring path = platform::createTemporaryFile(platform::temporaryFolder(), L"ver");
    ASSERT_FALSE(path.empty());
    File file;
    ASSERT_TRUE(file.open(path, File::Mode::Create));
    ASSERT_TRUE(file.write("MZ not really", 13));
    file.close();
    EXPECT_EQ(versionTextOf(path), loadText(5002));
    EXPECT_EQ(versionTextOf(L""), loadText(5002));
    platform::deleteFile(path);
}

}  // namespace
