#pragma once
// The recorder's standard settings, written by the card restore when the user
// chooses not to keep the previous ones.
#include <string>

// Replaces the card's TAVR.INI by one holding only the standard operation volume
// and shock-detection values, verified by reading it back. Throws Exception with
// the writer's message; a file that failed is removed, so the recorder never
// applies half a settings file.
void writeDefaultSettings(const std::wstring& cardPath);
