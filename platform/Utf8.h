#pragma once
// UTF-8 for file names on POSIX systems and for the command-line tool's output.
// Invalid input never throws: bad sequences become U+FFFD.
#include <string>

std::string toUtf8(const std::wstring& text);
std::wstring fromUtf8(const std::string& text);
