#pragma once
// Texts of the string table, loaded by id each time they are needed. The same
// list feeds the executable's string table and the native build, so the
// command-line tool shows the very texts of the viewer.
#include <string>

// The entry id; an absent id gives the empty string.
std::wstring loadText(int id);
// The same entry through the narrow (system code page) road; used where the
// wide road may not be trusted yet (the start-up system check, error texts).
std::wstring loadTextAnsi(int id);

// OEM code page with precomposed characters on Windows; UTF-8 elsewhere.
std::wstring narrowToWide(const std::string& text);
// ANSI code page on Windows; UTF-8 elsewhere.
std::string wideToNarrow(const std::wstring& text);
// Its way back: ANSI code page on Windows; UTF-8 elsewhere.
std::wstring ansiToWide(const std::string& text);

// printf-style "%d" formatting of a loaded text (for 5070, 5088 and the like).
std::wstring formatText(int id, int value);
