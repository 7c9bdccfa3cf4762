// Help opening: the "res://" address first; where no program opens it, a copy
// of the page and every picture it names in the temporary folder.
#include <gtest/gtest.h>
#include <windows.h>

#include <regex>
#include <string>
#include <vector>

#include "app/Exception.h"
#include "app/Resources.h"
#include "platform/File.h"
#include "platform/FileSystem.h"
#include "resources/HelpIds.h"
#include "ui/main/Help.h"

namespace {

std::string resourceText(int id) {
    const ResourceBytes bytes = loadResource(RT_HTML, id);
    return std::string(reinterpret_cast<const char*>(bytes.data), bytes.size);
}

std::string fileText(const std::wstring& path) {
    File file;
    if (!file.open(path, File::Mode::Read)) return {};
    std::string text(static_cast<std::size_t>(file.size()), '\0');
    text.resize(file.read(text.data(), text.size()));
    return text;
}

std::wstring executablePath() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

// Every picture address the page names (src="22101" and the like).
std::vector<int> picturesNamedByPage() {
    const std::string page = resourceText(IDH_HELP_PAGE);
    const std::regex address(R"re(src\s*=\s*"(\d+)")re");
    std::vector<int> ids;
    for (auto match = std::sregex_iterator(page.begin(), page.end(), address); match != std::sregex_iterator();
         ++match) {
        ids.push_back(std::stoi((*match)[1].str()));
    }
    return ids;
}

// Records what would have been opened; refuses the first `refusals` targets.
struct RecordingOpener {
    explicit RecordingOpener(int refusals) {
        setDocumentOpener([this, refusals](const std::wstring& target) {
            opened.push_back(target);
            if (static_cast<int>(opened.size()) > refusals) return true;
            SetLastError(ERROR_NO_ASSOCIATION);
            return false;
        });
    }
    ~RecordingOpener() { setDocumentOpener(nullptr); }
    std::vector<std::wstring> opened;
};

TEST(Help, ResourceAddressIsTriedFirstAndNothingIsWrittenWhenItOpens) {
    RecordingOpener opener(0);
    openHelp();
    ASSERT_EQ(opener.opened.size(), 1u);
    EXPECT_EQ(opener.opened[0], L"res://" + executablePath() + L"/22100");
}

TEST(Help, WhereTheResourceAddressFailsTheCopyInTheTemporaryFolderIsOpened) {
    RecordingOpener opener(1);
    openHelp();
    ASSERT_EQ(opener.opened.size(), 2u);
    const std::wstring page = opener.opened[1];
    const std::wstring folder = platform::parentFolder(page);
    EXPECT_EQ(platform::parentFolder(folder), platform::temporaryFolder());
    EXPECT_EQ(fileText(page), resourceText(IDH_HELP_PAGE));

    const std::vector<int> pictures = picturesNamedByPage();
    EXPECT_GE(pictures.size(), 10u) << "the page shows the viewer in pictures";
    for (int id : pictures) {
        EXPECT_GE(id, IDH_HELP_FIRST_PICTURE);
        EXPECT_LE(id, IDH_HELP_LAST_PICTURE);
        const std::string written = fileText(platform::joinPath(folder, std::to_wstring(id)));
        EXPECT_FALSE(written.empty()) << "picture " << id << " missing beside the page";
        EXPECT_EQ(written, resourceText(id)) << "picture " << id;
        EXPECT_EQ(written.compare(1, 3, "PNG"), 0) << "picture " << id << " is not a PNG";
    }
}

TEST(Help, NeitherOpeningGivesWindowException) {
    RecordingOpener opener(2);
    EXPECT_THROW(openHelp(), WindowException);
    EXPECT_EQ(opener.opened.size(), 2u);
}

}  // namespace
