// The read-ahead of export: slots come in order, the worker stays a bounded distance ahead,
// what it throws reaches the caller, and stopping early never waits for the rest.
#include "export/SlotReadAhead.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>

TEST(SlotReadAheadTest, SlotsComeInOrderWithTheWorkerABoundedDistanceAhead) {
    constexpr int kSlots = 1000;
    std::atomic<int> prepared{0};
    SlotReadAhead<int> reader(kSlots, [&](int slot) {
        ++prepared;
        return slot * 3;
    });
    int taken = 0;
    for (int value = 0; reader.next(value); ++taken) {
        ASSERT_EQ(value, taken * 3);
        // The queue's slots and the one in the worker's hands.
        ASSERT_LE(prepared.load(), taken + 1 + static_cast<int>(SlotReadAhead<int>::kDepth) + 1);
    }
    EXPECT_EQ(taken, kSlots);
}

TEST(SlotReadAheadTest, WhatPrepareThrowsReachesTheCallerAfterTheSlotsBefore) {
    SlotReadAhead<int> reader(10, [](int slot) {
        if (slot == 4) throw std::runtime_error("unreadable");
        return slot;
    });
    int value = -1;
    for (int slot = 0; slot < 4; ++slot) {
        ASSERT_TRUE(reader.next(value));
        EXPECT_EQ(value, slot);
    }
    EXPECT_THROW(reader.next(value), std::runtime_error);
}

TEST(SlotReadAheadTest, StoppingEarlyLeavesTheRestUnprepared) {
    constexpr int kSlots = 100000;
    std::atomic<int> prepared{0};
    {
        SlotReadAhead<int> reader(kSlots, [&](int slot) {
            ++prepared;
            return slot;
        });
        int value = 0;
        ASSERT_TRUE(reader.next(value));
    }
    EXPECT_LT(prepared.load(), kSlots);
}
