#include "maintenance/SensitivityText.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// A Japanese input method in full-width mode types U+3000 for a space and
// U+FF10 … U+FF19 and U+FF0E for the digits and the point.
constexpr wchar_t ideographicSpace = 0x3000;
constexpr wchar_t fullWidthZero = 0xFF10;
constexpr wchar_t fullWidthNine = 0xFF19;
constexpr wchar_t fullWidthPoint = 0xFF0E;

bool isBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\v' || c == L'\f' || c == L'\r' || c == ideographicSpace;
}

// The full-width digits and point as their ASCII selves; anything else as typed.
std::wstring withAsciiDigits(std::wstring text) {
    for (wchar_t& c : text) {
        if (c >= fullWidthZero && c <= fullWidthNine) c = static_cast<wchar_t>(L'0' + (c - fullWidthZero));
        if (c == fullWidthPoint) c = L'.';
    }
    return text;
}
bool isDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

std::size_t skipBlanks(const std::wstring& text, std::size_t at) {
    while (at < text.size() && isBlank(text[at])) ++at;
    return at;
}

std::size_t skipDigits(const std::wstring& text, std::size_t at) {
    while (at < text.size() && isDigit(text[at])) ++at;
    return at;
}

bool isSign(const std::wstring& text, std::size_t at) {
    return at < text.size() && (text[at] == L'+' || text[at] == L'-');
}

// The end of the decimal number starting at start, or start when there is none.
// Only the plain decimal form counts: no hexadecimal, infinity or NaN, which the
// user never means and which a system's converter may or may not take.
std::size_t numberEnd(const std::wstring& text, std::size_t start) {
    std::size_t at = start;
    if (isSign(text, at)) ++at;
    const std::size_t integerEnd = skipDigits(text, at);
    bool anyDigit = integerEnd > at;
    at = integerEnd;
    if (at < text.size() && text[at] == L'.') {
        const std::size_t fractionEnd = skipDigits(text, at + 1);
        anyDigit = anyDigit || fractionEnd > at + 1;
        at = fractionEnd;
    }
    if (!anyDigit) return start;
    if (at < text.size() && (text[at] == L'e' || text[at] == L'E')) {
        std::size_t exponent = at + 1;
        if (isSign(text, exponent)) ++exponent;
        const std::size_t exponentEnd = skipDigits(text, exponent);
        if (exponentEnd > exponent) at = exponentEnd;
    }
    return at;
}

// The matched characters are ASCII, and the program keeps the "C" locale, so
// the decimal point is '.'.
double toDouble(const std::wstring& text, std::size_t start, std::size_t end) {
    const std::string ascii(text.begin() + static_cast<std::ptrdiff_t>(start),
                            text.begin() + static_cast<std::ptrdiff_t>(end));
    return std::strtod(ascii.c_str(), nullptr);
}

}  // namespace

std::wstring formatHundredths(int value) {
    wchar_t text[32];
    std::swprintf(text, sizeof text / sizeof text[0], L"%d.%02d", value / 100, value % 100);
    return text;
}

std::optional<int> parseHundredths(const std::wstring& typed) {
    const std::wstring text = withAsciiDigits(typed);
    const std::size_t start = skipBlanks(text, 0);
    const std::size_t end = numberEnd(text, start);
    // No number: nothing is converted and the whole text must be blank.
    const std::size_t rest = end == start ? 0 : end;
    if (skipBlanks(text, rest) != text.size()) return std::nullopt;
    if (end == start) return 0;
    const double hundredths = std::floor(toDouble(text, start, end) * 100.0 + 0.009);
    const double limit = hundredthsLimit;
    if (!(hundredths > -limit)) return -hundredthsLimit;
    if (!(hundredths < limit)) return hundredthsLimit;
    return static_cast<int>(hundredths);
}
