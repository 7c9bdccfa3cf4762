#include <windows.h>

#include "app/Texts.h"

namespace {
constexpr int textBufferSize = 2048;
}  // namespace

// The texts live in the executable itself, so its module handle is the instance.

std::wstring loadText(int id) {
    wchar_t buffer[textBufferSize];
    const int n = LoadStringW(GetModuleHandleW(nullptr), static_cast<UINT>(id), buffer, textBufferSize);
    return n > 0 ? std::wstring(buffer, static_cast<std::size_t>(n)) : std::wstring();
}

std::wstring loadTextAnsi(int id) {
    char buffer[textBufferSize];
    const int n = LoadStringA(GetModuleHandleW(nullptr), static_cast<UINT>(id), buffer, textBufferSize);
    return n > 0 ? narrowToWide(std::string(buffer, static_cast<std::size_t>(n))) : std::wstring();
}

namespace {

std::wstring toWide(UINT codePage, const std::string& text) {
    if (text.empty()) return {};
    const int length = static_cast<int>(text.size());
    const int needed = MultiByteToWideChar(codePage, MB_PRECOMPOSED, text.data(), length, nullptr, 0);
    if (needed <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(needed) + 1, L'\0');
    const int written = MultiByteToWideChar(codePage, MB_PRECOMPOSED, text.data(), length, wide.data(), needed + 1);
    wide.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
    return wide;
}

}  // namespace

std::wstring narrowToWide(const std::string& text) {
    return toWide(CP_OEMCP, text);
}

std::wstring ansiToWide(const std::string& text) {
    return toWide(CP_ACP, text);
}

std::string wideToNarrow(const std::wstring& text) {
    if (text.empty()) return {};
    const int length = static_cast<int>(text.size());
    const int needed = WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) return {};
    std::string narrow(static_cast<std::size_t>(needed) + 1, '\0');
    const int written = WideCharToMultiByte(CP_ACP, 0, text.data(), length, narrow.data(), needed + 1, nullptr, nullptr);
    narrow.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
    return narrow;
}
