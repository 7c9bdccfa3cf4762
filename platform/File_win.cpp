#include <windows.h>

#include <algorithm>

#include "platform/File.h"

namespace {

HANDLE systemHandle(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

// ReadFile and WriteFile take 32-bit counts; larger requests go in pieces.
constexpr std::size_t largestTransfer = 0x40000000;

}  // namespace

bool File::open(const std::wstring& path, Mode mode) {
    close();
    HANDLE handle;
    if (mode == Mode::Read) {
        handle = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                             nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    } else {
        handle = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    if (handle == INVALID_HANDLE_VALUE) return false;
    handle_ = reinterpret_cast<std::intptr_t>(handle);
    return true;
}

void File::close() {
    if (isOpen()) CloseHandle(systemHandle(handle_));
    handle_ = -1;
}

bool File::isOpen() const {
    return handle_ != -1;
}

std::int64_t File::size() const {
    LARGE_INTEGER size;
    if (!isOpen() || !GetFileSizeEx(systemHandle(handle_), &size)) return -1;
    return size.QuadPart;
}

std::int64_t File::position() const {
    LARGE_INTEGER zero{}, position;
    if (!isOpen() || !SetFilePointerEx(systemHandle(handle_), zero, &position, FILE_CURRENT)) return -1;
    return position.QuadPart;
}

bool File::seek(std::int64_t offset) {
    if (!isOpen() || offset < 0) return false;
    LARGE_INTEGER target;
    target.QuadPart = offset;
    return SetFilePointerEx(systemHandle(handle_), target, nullptr, FILE_BEGIN) != 0;
}

std::size_t File::read(void* buffer, std::size_t count) {
    if (!isOpen()) return 0;
    auto* bytes = static_cast<unsigned char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        const DWORD want = static_cast<DWORD>(std::min(count - done, largestTransfer));
        DWORD got = 0;
        if (!ReadFile(systemHandle(handle_), bytes + done, want, &got, nullptr)) return 0;
        if (got == 0) break;
        done += got;
    }
    return done;
}

bool File::write(const void* data, std::size_t count) {
    if (!isOpen()) return false;
    const auto* bytes = static_cast<const unsigned char*>(data);
    std::size_t done = 0;
    while (done < count) {
        const DWORD want = static_cast<DWORD>(std::min(count - done, largestTransfer));
        DWORD put = 0;
        if (!WriteFile(systemHandle(handle_), bytes + done, want, &put, nullptr) || put == 0) return false;
        done += put;
    }
    return true;
}
