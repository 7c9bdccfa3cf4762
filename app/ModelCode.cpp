#include "app/ModelCode.h"

#include <cerrno>
#include <cwchar>

#include "app/Texts.h"

ModelCode& modelCode() {
    static ModelCode code;
    return code;
}

bool parseModelCode(const std::wstring& text, ModelCode& code) {
    // As strtoul with base 16: leading blanks, an optional sign and "0x" are
    // accepted, and the parse stops at the first character that is no digit.
    const wchar_t* start = text.c_str();
    wchar_t* end = nullptr;
    errno = 0;
    const unsigned long value = std::wcstoul(start, &end, 16);
    if (end == start || errno == ERANGE || value > 0xFFFF) return false;
    code.major = static_cast<std::uint8_t>(value >> 8);
    code.minor = static_cast<std::uint8_t>(value & 0xFF);
    return true;
}

void loadModelCode() { parseModelCode(loadText(5087), modelCode()); }
