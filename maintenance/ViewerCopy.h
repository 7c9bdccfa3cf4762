#pragma once
// The viewer copies itself onto a restored card as "TAVRX900.exe", so that the
// card carries its own viewer (Windows only).
#include <cstdint>
#include <string>

// Copies the running executable into the card's folder; nothing is copied when
// the running file is that copy already (the card's folder, the name
// "TAVRX900.exe" in any case). A leftover copy, even a hidden or
// read-only one, is replaced. Throws IOException 5007 when the copy fails or
// does not have the executable's length; a bad copy is removed.
void copyViewer(const std::wstring& cardPath);

// The running executable's full path; empty when the system gives none.
std::wstring runningExecutable();

// Length of a file opened for shared reading; -1 when it cannot be opened.
std::int64_t fileLength(const std::wstring& path);

// True when both paths name the same folder, however they are spelt (case,
// short names, a drive's root with or without its separator).
bool isSameFolder(const std::wstring& first, const std::wstring& second);
