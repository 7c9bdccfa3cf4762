#pragma once
// Decoding of one complete JPEG stream held in memory (a recorder frame).
#include <cstddef>
#include <memory>

#include "media/Image.h"

// The picture as a bottom-up blue-green-red-0 Image, or null when the stream
// is truncated, corrupt, has other than one or three colour components, or is
// too large for an Image. The caller keeps the bytes. Never throws.
std::unique_ptr<Image> decodeJpeg(const unsigned char* data, std::size_t length);
