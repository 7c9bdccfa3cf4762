#pragma once
// Decoding of a PNG picture held in memory (the interface pictures carried as
// resources of type "IMAGE").
#include <cstddef>
#include <memory>

#include "media/Image.h"

// The picture as a bottom-up blue-green-red-fourth-byte Image, the fourth byte
// holding the alpha where the picture has one and 0 otherwise; null when the
// data is not a PNG, is cut short or corrupt, or is too large. Never reads
// outside data/length, never throws.
std::unique_ptr<Image> decodePng(const unsigned char* data, std::size_t length);
