#pragma once
// Keeps the pixel buffers of frame-sized pictures for reuse. Every played frame and every
// repaint's brightness copy needs a buffer of about 1.2 MB; memory freshly mapped by the
// system costs several milliseconds a frame to touch under Wine (more than decoding the
// frame), while a buffer that was used before costs nothing extra. Small pictures (skins)
// are not kept. Safe to use from the loader threads and the user-interface thread at once.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

class PixelBufferPool {
public:
    static constexpr std::size_t kSmallestKept = 256 * 1024;
    static constexpr std::size_t kMaxKept = 8;

    // The pool shared by every Image; it lives until the process ends.
    static PixelBufferPool& shared();

    // A buffer of exactly size bytes, reused when one is kept; its content is undefined.
    std::unique_ptr<std::uint8_t[]> take(std::size_t size);
    // Hands a buffer of size bytes back; freed at once when it is small or the pool is full.
    void give(std::unique_ptr<std::uint8_t[]> buffer, std::size_t size);
    std::size_t keptCount();

private:
    struct Kept {
        std::size_t size;
        std::unique_ptr<std::uint8_t[]> buffer;
    };
    std::mutex lock;
    std::vector<Kept> kept;
};
