#pragma once
// JPEG streams made in the test with the library's compressor. Kept apart from
// the tests so jpeglib.h never meets a header that pulls in windows.h.
#include <cstdint>
#include <string>
#include <vector>

struct TestJpeg {
    int width = 0;
    int height = 0;
    int components = 3;                 // 1 grey, 3 RGB, 4 CMYK
    std::vector<std::uint8_t> samples;  // top row first, `components` bytes per pixel
    int quality = 100;
    bool progressive = false;
    std::string comment;      // written as a COM segment when not empty
    std::string application;  // written as an APP1 segment when not empty
};

std::vector<unsigned char> encodeTestJpeg(const TestJpeg& picture);

// A width × height picture of one colour per quadrant (top-left, top-right,
// bottom-left, bottom-right), each given as R, G, B.
TestJpeg quadrantPicture(int width, int height, const std::uint8_t (&colours)[4][3]);
