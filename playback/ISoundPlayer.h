#pragma once
// What the video player needs from a sound output: open a file, play it from a millisecond
// offset, pause, resume, stop, and report its position and state.
#include <cstdint>
#include <string>

class ISoundPlayer {
public:
    enum State { NoDevice = 0, Playing = 1, Stopped = 2, Paused = 3 };

    virtual void open(const std::wstring& path) = 0;
    virtual void close() = 0;
    virtual void play(int milliseconds) = 0;
    virtual void stop() = 0;
    virtual void pause() = 0;
    virtual void resume() = 0;
    virtual int state() const = 0;
    // Block alignment x sample rate x 1000 of the open file; 0 when none is open.
    virtual std::uint32_t rateProduct() const = 0;
    virtual int position() = 0;
    virtual int volume() const = 0;
    virtual void setVolume(int level) = 0;

protected:
    ~ISoundPlayer() = default;
};
