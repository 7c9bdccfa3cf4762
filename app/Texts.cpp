#include "app/Texts.h"

#include <cwchar>
#include <vector>

std::wstring formatText(int id, int value) {
    const std::wstring pattern = loadText(id);
    std::vector<wchar_t> buffer(pattern.size() + 32);
    const int n = std::swprintf(buffer.data(), buffer.size(), pattern.c_str(), value);
    return n < 0 ? pattern : std::wstring(buffer.data(), static_cast<std::size_t>(n));
}
