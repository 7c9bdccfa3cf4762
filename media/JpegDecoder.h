#pragma once
// Decoding of one complete JPEG stream held in memory (a recorder frame).
#include <cstddef>
#include <memory>

#include "media/Image.h"

// The picture as a bottom-up blue-green-red-0 Image, or null when the stream
// is truncated, corrupt, has other than one or three colour components, or is
// too large for an Image. The caller keeps the bytes. Never throws.
std::unique_ptr<Image> decodeJpeg(const unsigned char* data, std::size_t length);

// The same picture decoded at the smallest of the library's reduced sizes
// (1/2, 1/4, 1/8) that still covers fitWidth × fitHeight, or at full size when
// none does: a miniature costs a fraction of a full decode and loses nothing
// that drawing it at fitWidth × fitHeight would show. A fit of 0 × 0 is the
// full decode.
std::unique_ptr<Image> decodeJpegToFit(const unsigned char* data, std::size_t length, int fitWidth, int fitHeight);
