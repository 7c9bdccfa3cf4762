#pragma once
// A sensitivity value as the user reads and types it: G with two decimals
// ("0.45" for 45 hundredths).
#include <optional>
#include <string>

// "%d.%02d" of value ÷ 100 and value mod 100.
std::wstring formatHundredths(int value);

// Reads a typed G value: blanks, a decimal number (sign, digits, point, exponent
// as in C's decimal floating constants), blanks. Blanks include the full-width
// space, and digits and point may be full-width, as a Japanese input method
// types them. Text that is empty or blank
// only reads as 0. Anything else after the number, and any text that does not
// begin with a number, is rejected. The result is floor(number × 100 + 0.009),
// the small addition keeping 0.29 from becoming 28; far-out numbers are limited
// to ±hundredthsLimit so that they stay integers.
std::optional<int> parseHundredths(const std::wstring& text);

constexpr int hundredthsLimit = 1000000;
