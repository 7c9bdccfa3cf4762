#pragma once
// The recorder model's two-byte code. It tags every stored picture of an
// archive and heads the settings files.
#include <cstdint>
#include <string>

struct ModelCode {
    std::uint8_t major = 3;
    std::uint8_t minor = 18;
};

// The process-wide code: built-in 3/18 until loadModelCode runs.
ModelCode& modelCode();

// Parses a hexadecimal text such as "0203" (major 2, minor 3). False, leaving
// code unchanged, when no digit is read or the value is above 0xFFFF.
bool parseModelCode(const std::wstring& text, ModelCode& code);

// Replaces the process-wide code from text 5087 when it parses.
void loadModelCode();
