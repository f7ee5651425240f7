#include "playback/decode/Image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <new>
#include <thread>

TEST(Image, CloneIsADeepCopyOfTheSameSize) {
    Image original(3, 2);
    for (int i = 0; i < original.byteSize(); ++i) original.pixels()[i] = static_cast<std::uint8_t>(i * 7);
    auto copy = original.clone();
    ASSERT_EQ(copy->width(), 3);
    ASSERT_EQ(copy->height(), 2);
    ASSERT_EQ(copy->byteSize(), 24);
    EXPECT_NE(copy->pixels(), original.pixels());
    EXPECT_EQ(std::vector<std::uint8_t>(copy->pixels(), copy->pixels() + 24),
              std::vector<std::uint8_t>(original.pixels(), original.pixels() + 24));
    copy->pixels()[0] = 99;
    EXPECT_EQ(original.pixels()[0], 0);
}

TEST(Image, AFrameSizedBufferIsReusedAndStartsZeroed) {
    const std::uint8_t* first;
    {
        Image frame(640, 480);
        std::fill(frame.pixels(), frame.pixels() + frame.byteSize(), std::uint8_t(0xAB));
        first = frame.pixels();
    }
    Image next(640, 480);
    EXPECT_EQ(next.pixels(), first);  // the freed buffer came back
    EXPECT_TRUE(std::all_of(next.pixels(), next.pixels() + next.byteSize(), [](std::uint8_t b) { return b == 0; }));
    auto copy = next.clone();
    EXPECT_NE(copy->pixels(), next.pixels());
}

TEST(Image, ThreadsMakingAndDroppingFramesNeverShareABuffer) {
    std::atomic<int> clashes{0};
    auto worker = [&clashes](std::uint8_t mark) {
        for (int i = 0; i < 200; ++i) {
            Image frame(512, 256);
            frame.pixels()[0] = mark;
            frame.pixels()[frame.byteSize() - 1] = mark;
            std::this_thread::yield();
            if (frame.pixels()[0] != mark || frame.pixels()[frame.byteSize() - 1] != mark) ++clashes;
        }
    };
    std::thread a(worker, 1), b(worker, 2), c(worker, 3);
    a.join();
    b.join();
    c.join();
    EXPECT_EQ(clashes.load(), 0);
}

TEST(Image, SizesBeyondTheBoundAreNotMade) {
    const struct {
        std::uint64_t width, height;
        bool made;
    } cases[] = {
        {640, 480, true},   {Image::kMaxSide, Image::kMaxSide, true}, {Image::kMaxSide + 1, 1, false},
        {1, Image::kMaxSide + 1, false}, {0, 480, false}, {65500, 65500, false},
        {(1ull << 32) + 640, 480, false},  // would pass as 640 when cut to 32 bits
    };
    for (const auto& c : cases) {
        std::unique_ptr<Image> image = Image::create(c.width, c.height);
        EXPECT_EQ(image != nullptr, c.made) << c.width << " x " << c.height;
        if (image) {
            EXPECT_EQ(image->byteSize(), static_cast<int>(c.width * c.height * 4));
        }
    }
    EXPECT_THROW(Image(Image::kMaxSide + 1, 1), std::bad_alloc);
}
