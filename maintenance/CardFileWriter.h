#pragma once
// How a settings file's bytes reach the card. The writers of TAVR.INI take one,
// so that a test can stand in a card that gives up part way through a write or
// keeps other bytes than it was given, and see the file removed afterwards.
#include <cstddef>

class File;

class CardFileWriter {
public:
    virtual ~CardFileWriter() = default;

    // Writes count bytes at the file's position; true only when every byte
    // reached the file.
    virtual bool write(File& file, const void* data, std::size_t count) const;

    // The card itself: the file's own write.
    static const CardFileWriter& direct();
};
