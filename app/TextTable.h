#pragma once
// The native build's copy of the string table, generated from resources/texts.txt.
struct TextEntry {
    int id;
    const wchar_t* text;
};

extern const TextEntry textTable[];
extern const int textTableSize;
