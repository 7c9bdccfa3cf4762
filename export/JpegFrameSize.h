#pragma once
// The picture size written in a JPEG stream's frame header, found by walking
// its marker segments without decoding: the video header of an export needs
// it, and the export must cost no more than copying the pictures.
#include <cstddef>
#include <cstdint>

// False when no frame header lies inside the bytes (every length is checked
// against what remains).
bool jpegFrameSize(const std::uint8_t* bytes, std::size_t size, int& width, int& height);
