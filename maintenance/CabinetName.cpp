#include "maintenance/CabinetName.h"

#include <algorithm>
#include <array>
#include <vector>

#include "app/Texts.h"
#include "platform/FileSystem.h"
#include "platform/Utf8.h"

namespace {

bool isSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

std::vector<std::wstring> components(const std::wstring& name) {
    std::vector<std::wstring> parts(1);
    for (wchar_t c : name) {
        if (isSeparator(c)) {
            parts.emplace_back();
        } else {
            parts.back() += c;
        }
    }
    return parts;
}

// Windows opens "name. . " as "name".
std::wstring withoutTrailingDotsAndSpaces(std::wstring text) {
    while (!text.empty() && (text.back() == L'.' || text.back() == L' ')) text.pop_back();
    return text;
}

std::wstring upperAscii(std::wstring text) {
    for (wchar_t& c : text) {
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    }
    return text;
}

// Windows opens these in any folder, with any extension, as devices.
bool isDeviceName(const std::wstring& component) {
    static const std::array<const wchar_t*, 6> fixed = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"};
    const std::wstring base = withoutTrailingDotsAndSpaces(upperAscii(component.substr(0, component.find(L'.'))));
    if (std::find_if(fixed.begin(), fixed.end(), [&](const wchar_t* device) { return base == device; }) !=
        fixed.end()) {
        return true;
    }
    const bool numbered = base.size() == 4 && (base.compare(0, 3, L"COM") == 0 || base.compare(0, 3, L"LPT") == 0);
    return numbered && base[3] >= L'1' && base[3] <= L'9';
}

bool isSafeComponent(const std::wstring& component) {
    if (withoutTrailingDotsAndSpaces(component).empty()) return false;  // "", ".", "..", "..." and the like
    const bool hasBadCharacter =
        std::any_of(component.begin(), component.end(), [](wchar_t c) { return c < 0x20 || c == L':'; });
    return !hasBadCharacter && !isDeviceName(component);
}

}  // namespace

bool cabinetNameToRelativePath(const std::string& name, bool utf8, std::wstring& relative) {
    // The recorder's tools store names in the program's ANSI code page, which
    // is Shift-JIS on Japanese systems (and equal to the OEM one only there).
    const std::wstring wide = utf8 ? fromUtf8(name) : ansiToWide(name);
    const std::vector<std::wstring> parts = components(wide);
    if (!std::all_of(parts.begin(), parts.end(), isSafeComponent)) return false;
    std::wstring path;
    for (const std::wstring& part : parts) {
        if (!path.empty()) path += platform::pathSeparator();
        path += part;
    }
    relative = std::move(path);
    return true;
}
