// The native build reads the texts from the table generated out of
// resources/texts.txt; narrow text is UTF-8.
#include "app/TextTable.h"
#include "app/Texts.h"
#include "platform/Utf8.h"

std::wstring loadText(int id) {
    for (int i = 0; i < textTableSize; ++i) {
        if (textTable[i].id == id) return textTable[i].text;
    }
    return {};
}

std::wstring loadTextAnsi(int id) { return narrowToWide(wideToNarrow(loadText(id))); }

std::wstring narrowToWide(const std::string& text) { return fromUtf8(text); }

std::wstring ansiToWide(const std::string& text) { return fromUtf8(text); }

std::string wideToNarrow(const std::wstring& text) { return toUtf8(text); }
