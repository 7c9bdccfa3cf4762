#pragma once
// Screenshots the tests keep for people to look at: 0xRRGGBB pixels, top row
// first, written as an 8-bit RGB PNG file.
#include <cstdint>
#include <string>
#include <vector>

// False when the file cannot be written or the pixels do not fill width × height.
bool writePng(const std::string& path, int width, int height, const std::vector<std::uint32_t>& pixels);
