#include "ui/main/Help.h"

#include <windows.h>
// shellapi.h relies on the types of windows.h.
#include <shellapi.h>

#include <cwchar>

#include "app/Resources.h"
#include "app/WindowError.h"
#include "platform/File.h"
#include "platform/FileSystem.h"
#include "resources/HelpIds.h"

namespace {

constexpr int addressLength = 1024;
constexpr const wchar_t* copyFolderName = L"OrvelleViewerHelp";
constexpr const wchar_t* copyPageName = L"help.htm";

bool openWithShell(const std::wstring& target) {
    const auto result =
        reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, nullptr, target.c_str(), nullptr, L"C:\\", SW_SHOWNORMAL));
    return result > 32;
}

DocumentOpener& currentOpener() {
    static DocumentOpener opener = openWithShell;
    return opener;
}

std::wstring executablePath() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::wstring(path, length < MAX_PATH ? length : 0);
}

std::wstring resourceAddress() {
    wchar_t address[addressLength] = {};
    swprintf(address, addressLength, L"res://%ls/%d", executablePath().c_str(), IDH_HELP_PAGE);
    return address;
}

bool hasHtmlResource(int id) {
    return FindResourceW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), RT_HTML);
}

void writeResource(int id, const std::wstring& path) {
    const ResourceBytes bytes = loadResource(RT_HTML, id);
    File file;
    if (!file.open(path, File::Mode::Create)) throw makeWindowException(GetLastError());
    if (!file.write(bytes.data, bytes.size)) throw makeWindowException(GetLastError());
}

}  // namespace

void setDocumentOpener(DocumentOpener opener) {
    currentOpener() = opener ? std::move(opener) : DocumentOpener(openWithShell);
}

std::wstring writeHelpCopy(const std::wstring& folder) {
    if (!platform::createFolder(folder)) throw makeWindowException(GetLastError());
    // Pictures keep their bare numbers: the page names them so.
    for (int id = IDH_HELP_FIRST_PICTURE; id <= IDH_HELP_LAST_PICTURE; ++id) {
        if (hasHtmlResource(id)) writeResource(id, platform::joinPath(folder, std::to_wstring(id)));
    }
    const std::wstring page = platform::joinPath(folder, copyPageName);
    writeResource(IDH_HELP_PAGE, page);
    return page;
}

void openHelp() {
    if (currentOpener()(resourceAddress())) return;
    const std::wstring page = writeHelpCopy(platform::joinPath(platform::temporaryFolder(), copyFolderName));
    if (!currentOpener()(page)) throw makeWindowException(GetLastError());
}
