#pragma once
// Keeps the pixel buffers of frame-sized pictures for reuse. Every played frame and every
// repaint's brightness copy needs a buffer of about 1.2 MB; memory freshly mapped by the
// system costs several milliseconds a frame to touch under Wine (more than decoding the
// frame), while a buffer that was used before costs nothing extra. Small pictures (skins)
// are not kept. Safe to use from the loader threads and the user-interface thread at once.
//
// A buffer nobody took for kIdleLimit is freed: playing needs two frame buffers (the one
// shown, the one decoding), but a moment of load can put a third in flight (a frame decoded
// while the one before still waits to be shown), and keeping that one for good would hold
// 1.2 MB the viewer no longer uses.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

class PixelBufferPool {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::size_t kSmallestKept = 256 * 1024;
    static constexpr std::size_t kMaxKept = 8;
    static constexpr std::chrono::milliseconds kIdleLimit{3000};

    explicit PixelBufferPool(std::function<Clock::time_point()> now = Clock::now);

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
        Clock::time_point given;
    };
    void freeIdle(Clock::time_point now);

    std::function<Clock::time_point()> now;
    std::mutex lock;
    std::vector<Kept> kept;  // in the order they were given, the oldest first
};
