// What a file object does the same way on every system; opening, reading and
// writing are in File_win.cpp and File_posix.cpp.
#include "platform/File.h"

File::~File() {
    close();
}

File::File(File&& other) noexcept : handle_(other.handle_) {
    other.handle_ = -1;
}

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        close();
        handle_ = other.handle_;
        other.handle_ = -1;
    }
    return *this;
}
