#pragma once
// The program's version as the version dialog shows it ("Version %s").
#include <string>

// From "FileVersion" of the executable's version resource, for the first
// language and code page of its translation table that has one; text 5002
// when there is none.
std::wstring getVersionText();
// The same for any module or file.
std::wstring versionTextOf(const std::wstring& modulePath);

// Digits stay, the first two commas become dots, the third ends the text and
// everything else is dropped: "1, 0, 2, 0" gives "1.0.2".
std::wstring formatFileVersion(const std::wstring& fileVersion);
