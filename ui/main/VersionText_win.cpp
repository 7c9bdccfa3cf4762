#include "ui/main/VersionText.h"

#include <windows.h>

#include <cwchar>
#include <vector>

#include "app/Texts.h"

namespace {

constexpr int noVersionTextId = 5002;
constexpr int queryLength = 64;

struct Translation {
    WORD language;
    WORD codePage;
};

std::vector<BYTE> readVersionBlock(const std::wstring& modulePath) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(modulePath.c_str(), &ignored);
    std::vector<BYTE> block(size);
    if (size == 0 || !GetFileVersionInfoW(modulePath.c_str(), 0, size, block.data())) block.clear();
    return block;
}

// False when the block has no such value; the value's length is bounded by what
// the block says, not by a terminator.
bool queryText(std::vector<BYTE>& block, const wchar_t* query, std::wstring& text) {
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), query, &value, &length) || !value) return false;
    const auto* characters = static_cast<const wchar_t*>(value);
    text.assign(characters, wcsnlen(characters, length));
    return true;
}

bool findFileVersion(std::vector<BYTE>& block, std::wstring& fileVersion) {
    void* value = nullptr;
    UINT bytes = 0;
    if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &value, &bytes) || !value) return false;
    const auto* translations = static_cast<const Translation*>(value);
    for (UINT i = 0; i < bytes / sizeof(Translation); ++i) {
        wchar_t query[queryLength];
        swprintf(query, queryLength, L"\\StringFileInfo\\%04x%04x\\FileVersion", translations[i].language,
                 translations[i].codePage);
        if (queryText(block, query, fileVersion)) return true;
    }
    return false;
}

std::wstring executablePath() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::wstring(path, length < MAX_PATH ? length : 0);
}

}  // namespace

std::wstring formatFileVersion(const std::wstring& fileVersion) {
    std::wstring text;
    int commas = 0;
    for (wchar_t character : fileVersion) {
        if (character >= L'0' && character <= L'9') {
            text += character;
        } else if (character == L',') {
            if (++commas == 3) break;
            text += L'.';
        }
    }
    return text;
}

std::wstring versionTextOf(const std::wstring& modulePath) {
    std::vector<BYTE> block = readVersionBlock(modulePath);
    std::wstring fileVersion;
    if (block.empty() || !findFileVersion(block, fileVersion)) return loadText(noVersionTextId);
    return formatFileVersion(fileVersion);
}

std::wstring getVersionText() {
    return versionTextOf(executablePath());
}
