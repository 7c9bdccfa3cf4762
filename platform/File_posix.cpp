#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/File.h"
#include "platform/Utf8.h"

namespace {

int descriptor(std::intptr_t handle) {
    return static_cast<int>(handle);
}

}  // namespace

bool File::open(const std::wstring& path, Mode mode) {
    close();
    const int flags = mode == Mode::Read ? O_RDONLY : O_WRONLY | O_CREAT | O_TRUNC;
    const int fd = ::open(toUtf8(path).c_str(), flags | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    // A folder opens here but not on Windows; refuse it so both builds agree.
    struct stat info {};
    if (fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        ::close(fd);
        return false;
    }
    handle_ = fd;
    return true;
}

void File::close() {
    if (handle_ >= 0) ::close(descriptor(handle_));
    handle_ = -1;
}

bool File::isOpen() const {
    return handle_ >= 0;
}

std::int64_t File::size() const {
    struct stat info {};
    if (!isOpen() || fstat(descriptor(handle_), &info) != 0) return -1;
    return info.st_size;
}

std::int64_t File::position() const {
    if (!isOpen()) return -1;
    return lseek(descriptor(handle_), 0, SEEK_CUR);
}

bool File::seek(std::int64_t offset) {
    if (!isOpen() || offset < 0) return false;
    return lseek(descriptor(handle_), static_cast<off_t>(offset), SEEK_SET) == offset;
}

std::size_t File::read(void* buffer, std::size_t count) {
    if (!isOpen()) return 0;
    auto* bytes = static_cast<unsigned char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t got = ::read(descriptor(handle_), bytes + done, count - done);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return 0;
        if (got == 0) break;
        done += static_cast<std::size_t>(got);
    }
    return done;
}

bool File::write(const void* data, std::size_t count) {
    if (!isOpen()) return false;
    const auto* bytes = static_cast<const unsigned char*>(data);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t put = ::write(descriptor(handle_), bytes + done, count - done);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        done += static_cast<std::size_t>(put);
    }
    return true;
}
