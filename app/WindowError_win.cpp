#include <windows.h>

#include "app/Texts.h"
#include "app/WindowError.h"

namespace {
constexpr DWORD errorTextSize = 1024;
}

WindowException makeWindowException(unsigned long code) {
    wchar_t buffer[errorTextSize];
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                                   MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), buffer, errorTextSize, nullptr);
    if (n > 0) return WindowException(std::wstring(buffer, n));
    std::wstring text = formatText(5070, static_cast<int>(code));
    if (text.size() >= errorTextSize) text.resize(errorTextSize - 1);
    return WindowException(text);
}
