#include <gtest/gtest.h>

#include "../maintenance/SettingsBytes.h"
#include "app/Exception.h"
#include "app/ModelCode.h"
#include "app/Texts.h"
#include "maintenance/CardRestoreSettings.h"
#include "platform/FileSystem.h"
#include "support/ScratchFolder.h"

namespace {

using namespace settingsbytes;

class DefaultSettings : public ::testing::Test {
protected:
    void SetUp() override { modelCode() = ModelCode{2, 3}; }

    ScratchFolder card_{L"def"};
};

TEST_F(DefaultSettings, ReplaceTheCardsSettingsFileWithoutKeepingAnyOfItsItems) {
    const std::wstring path = card_.file(L"TAVR.INI");
    ASSERT_TRUE(writeFile(path, join({header(), item(0x1801, {0x01}), item(0x0801, {0x00, 0x70})})));
    ASSERT_TRUE(platform::makeHiddenReadOnly(path));

    writeDefaultSettings(card_.path());

    EXPECT_EQ(readFile(path),
              join({header(), item(0x0301, {0x00}), item(0x0801, {0x00, 0x45}), item(0x0802, {0x01, 0x00}),
                    item(0x0803, {0x02, 0x00}), item(0x0804, {0x00, 0x40})}));
#ifdef _WIN32
    EXPECT_TRUE(platform::isHidden(path));
    EXPECT_TRUE(platform::isReadOnly(path));
#endif
}

TEST_F(DefaultSettings, FailureCarriesTheWritersMessageAndLeavesNoFile) {
    const std::wstring missingCard = card_.file(L"gone");
    try {
        writeDefaultSettings(missingCard);
        FAIL() << "a card folder that does not exist cannot take a settings file";
    } catch (const Exception& failure) {
        EXPECT_EQ(failure.message(), loadText(5020));
    }
    EXPECT_FALSE(platform::isFile(platform::joinPath(missingCard, L"TAVR.INI")));
}

}  // namespace
