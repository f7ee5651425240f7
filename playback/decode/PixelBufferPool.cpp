#include "playback/decode/PixelBufferPool.h"

PixelBufferPool::PixelBufferPool(std::function<Clock::time_point()> now) : now(std::move(now)) {}

PixelBufferPool& PixelBufferPool::shared() {
    // Never destroyed: Images released during the process's exit still hand buffers back.
    static PixelBufferPool* pool = new PixelBufferPool;
    return *pool;
}

std::unique_ptr<std::uint8_t[]> PixelBufferPool::take(std::size_t size) {
    if (size >= kSmallestKept) {
        std::lock_guard<std::mutex> guard(lock);
        freeIdle(now());
        // The most recently given first: the buffers in steady use stay in use, and one that
        // is not needed any more ages out instead of taking its turn.
        for (auto it = kept.rbegin(); it != kept.rend(); ++it) {
            if (it->size == size) {
                std::unique_ptr<std::uint8_t[]> buffer = std::move(it->buffer);
                kept.erase(std::next(it).base());
                return buffer;
            }
        }
    }
    return std::unique_ptr<std::uint8_t[]>(new std::uint8_t[size]);
}

void PixelBufferPool::give(std::unique_ptr<std::uint8_t[]> buffer, std::size_t size) {
    if (!buffer || size < kSmallestKept) return;
    Clock::time_point at = now();
    std::lock_guard<std::mutex> guard(lock);
    freeIdle(at);
    if (kept.size() >= kMaxKept) kept.erase(kept.begin());  // the oldest goes
    kept.push_back({size, std::move(buffer), at});
}

std::size_t PixelBufferPool::keptCount() {
    std::lock_guard<std::mutex> guard(lock);
    return kept.size();
}

void PixelBufferPool::freeIdle(Clock::time_point at) {
    auto firstRecent = kept.begin();
    while (firstRecent != kept.end() && at - firstRecent->given >= kIdleLimit) ++firstRecent;
    kept.erase(kept.begin(), firstRecent);
}
