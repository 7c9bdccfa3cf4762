#pragma once
// Keeps a few freed picture buffers of the larger sizes for the next picture
// of the same size. Playing makes and drops a 1.2 MB frame picture 30 times a
// second; an allocation of that size comes fresh from the system each time,
// and touching its new pages cost more than decoding the frame.
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

class PixelRecycler {
public:
    // Smaller buffers are left to the ordinary allocator, which keeps them anyway.
    static constexpr std::size_t smallestKept = 256 * 1024;
    static constexpr std::size_t buffersKept = 4;

    // The one recycler of the process (never destroyed: pictures may be freed
    // by static destructors after it).
    static PixelRecycler& shared();

    PixelRecycler();
    ~PixelRecycler();
    PixelRecycler(const PixelRecycler&) = delete;
    PixelRecycler& operator=(const PixelRecycler&) = delete;

    // A buffer of size bytes, contents undefined. Throws std::bad_alloc.
    std::uint8_t* take(std::size_t size);
    // Takes back a buffer from take of the same size; null is ignored. Any thread.
    void give(std::uint8_t* buffer, std::size_t size) noexcept;

    std::size_t keptCount();

private:
    struct Kept {
        std::uint8_t* buffer;
        std::size_t size;
    };

    std::uint8_t* takeKept(std::size_t size);

    std::mutex mutex_;
    std::vector<Kept> kept_;  // capacity buffersKept from the start: give never allocates
};
