#pragma once
// Prepares the slots of a record on a worker thread ahead of the caller, who takes them in
// slot order: the reading and checking of frames on one core overlaps the writing of the
// files on the other. At most kDepth prepared slots wait, so memory stays bounded however
// long the record runs. Under Wine every wake-up of a waiting thread is a round trip to the
// wineserver, so a full queue lets its worker go on only when it has half emptied, and an
// empty one lets its caller go on only when it has half filled (or the last slot is in): a
// wake-up per half queue, not per slot.
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

template <typename Slot>
class SlotReadAhead {
public:
    static constexpr std::size_t kDepth = 32;

    // Calls prepare(0) .. prepare(slotCount - 1) in order on the worker; prepare alone
    // touches what it reads until this object is destroyed.
    SlotReadAhead(int slotCount, std::function<Slot(int slot)> prepare)
        : count(slotCount), prepare(std::move(prepare)), worker([this] { run(); }) {}
    // Stops the worker after the slot it prepares, and waits for it.
    ~SlotReadAhead() {
        {
            std::lock_guard<std::mutex> lock(mutex);
            stopping = true;
        }
        changed.notify_all();
        worker.join();
    }
    SlotReadAhead(const SlotReadAhead&) = delete;
    SlotReadAhead& operator=(const SlotReadAhead&) = delete;

    // The next slot in order; false after the last. What prepare threw is thrown here.
    bool next(Slot& slot) {
        std::unique_lock<std::mutex> lock(mutex);
        if (ready.empty()) changed.wait(lock, [this] { return ready.size() >= kDepth / 2 || failure || finished; });
        if (ready.empty()) {
            if (failure) std::rethrow_exception(failure);
            return false;
        }
        slot = std::move(ready.front());
        ready.pop_front();
        if (ready.size() == kDepth / 2) changed.notify_all();
        return true;
    }

private:
    void run() {
        try {
            for (int index = 0; index < count; ++index) {
                Slot slot = prepare(index);
                std::unique_lock<std::mutex> lock(mutex);
                if (ready.size() >= kDepth) changed.wait(lock, [this] { return ready.size() <= kDepth / 2 || stopping; });
                if (stopping) return;
                ready.push_back(std::move(slot));
                if (ready.size() == kDepth / 2) changed.notify_all();
            }
        } catch (...) {
            std::lock_guard<std::mutex> lock(mutex);
            failure = std::current_exception();
        }
        std::lock_guard<std::mutex> lock(mutex);
        finished = true;
        changed.notify_all();
    }

    const int count;
    std::function<Slot(int slot)> prepare;
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<Slot> ready;
    std::exception_ptr failure;
    bool stopping = false;
    bool finished = false;
    std::thread worker;  // last: it starts once everything above is in place
};
