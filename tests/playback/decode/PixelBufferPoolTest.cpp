#include "playback/decode/PixelBufferPool.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <set>

namespace {

constexpr std::size_t kFrameBytes = 640 * 480 * 4;

// Plays frames through a pool on a clock of its own: each frame takes a buffer for the next
// picture and hands the shown one back, as the loader and the player do.
struct PlayedPool {
    PixelBufferPool::Clock::time_point clock{};
    PixelBufferPool pool{[this] { return clock; }};
    std::unique_ptr<std::uint8_t[]> shown = pool.take(kFrameBytes);
    std::set<const std::uint8_t*> used;

    void play(int frames, std::chrono::milliseconds interval) {
        for (int i = 0; i < frames; ++i) {
            clock += interval;
            std::unique_ptr<std::uint8_t[]> next = pool.take(kFrameBytes);
            used.insert(next.get());
            pool.give(std::move(shown), kFrameBytes);
            shown = std::move(next);
        }
    }
};

}  // namespace

TEST(PixelBufferPool, PlayingReusesTwoBuffersAndFreesAThirdLeftIdle) {
    PlayedPool played;
    played.play(100, std::chrono::milliseconds(33));
    EXPECT_EQ(played.used.size(), 2u) << "playing took fresh buffers instead of reusing the two it had";
    EXPECT_EQ(played.pool.keptCount(), 1u);

    // A moment of load: a frame decoded while the one before still waits to be shown, so
    // three buffers are in use at once; both are handed back.
    std::unique_ptr<std::uint8_t[]> waiting = played.pool.take(kFrameBytes);
    std::unique_ptr<std::uint8_t[]> decoding = played.pool.take(kFrameBytes);
    played.pool.give(std::move(waiting), kFrameBytes);
    played.pool.give(std::move(decoding), kFrameBytes);
    played.play(1, std::chrono::milliseconds(33));
    EXPECT_EQ(played.pool.keptCount(), 2u) << "the third buffer was not kept for the moment after";

    played.used.clear();
    played.play(200, std::chrono::milliseconds(33));
    EXPECT_EQ(played.pool.keptCount(), 1u) << "the buffer nobody took for seconds is still kept";
    EXPECT_EQ(played.used.size(), 2u) << "the idle buffer took turns with the two in use and so never aged";
}

TEST(PixelBufferPool, AfterAPauseTheSpareIsFreedAndOtherSizesAreNotConfused) {
    PlayedPool played;
    played.play(3, std::chrono::milliseconds(100));
    played.clock += PixelBufferPool::kIdleLimit;
    std::unique_ptr<std::uint8_t[]> small = played.pool.take(PixelBufferPool::kSmallestKept);
    EXPECT_EQ(played.pool.keptCount(), 0u) << "the spare outlived a pause longer than the idle limit";
    played.pool.give(std::move(small), PixelBufferPool::kSmallestKept);
    played.pool.give(std::move(played.shown), kFrameBytes);
    std::unique_ptr<std::uint8_t[]> frame = played.pool.take(kFrameBytes);
    EXPECT_EQ(played.pool.keptCount(), 1u) << "a buffer of another size was handed out or dropped";
}
