#include "playback/decode/PixelBufferPool.h"

PixelBufferPool& PixelBufferPool::shared() {
    // Never destroyed: Images released during the process's exit still hand buffers back.
    static PixelBufferPool* pool = new PixelBufferPool;
    return *pool;
}

std::unique_ptr<std::uint8_t[]> PixelBufferPool::take(std::size_t size) {
    if (size >= kSmallestKept) {
        std::lock_guard<std::mutex> guard(lock);
        for (auto it = kept.begin(); it != kept.end(); ++it) {
            if (it->size == size) {
                std::unique_ptr<std::uint8_t[]> buffer = std::move(it->buffer);
                kept.erase(it);
                return buffer;
            }
        }
    }
    return std::unique_ptr<std::uint8_t[]>(new std::uint8_t[size]);
}

void PixelBufferPool::give(std::unique_ptr<std::uint8_t[]> buffer, std::size_t size) {
    if (!buffer || size < kSmallestKept) return;
    std::lock_guard<std::mutex> guard(lock);
    if (kept.size() >= kMaxKept) kept.erase(kept.begin());  // the oldest goes
    kept.push_back({size, std::move(buffer)});
}

std::size_t PixelBufferPool::keptCount() {
    std::lock_guard<std::mutex> guard(lock);
    return kept.size();
}
