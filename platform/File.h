#pragma once
// An open file on the card or on the local disk, behind one small interface so
// that the portable core never sees a system handle. Paths are wide strings.
#include <cstddef>
#include <cstdint>
#include <string>

class File {
public:
    enum class Mode {
        Read,   // existing file, shared with other readers and writers
        Create  // new or truncated file, for writing
    };

    File() = default;
    ~File();
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    bool open(const std::wstring& path, Mode mode);  // false on failure, nothing thrown
    void close();
    bool isOpen() const;

    std::int64_t size() const;  // -1 when not open or unknown
    std::int64_t position() const;
    bool seek(std::int64_t offset);  // absolute; false when negative or the system refuses

    // Bytes actually read: fewer than count at the end of the file, 0 on failure.
    std::size_t read(void* buffer, std::size_t count);
    // True only when every byte was written.
    bool write(const void* data, std::size_t count);

private:
    std::intptr_t handle_ = -1;  // a HANDLE on Windows, a descriptor elsewhere
};
