#pragma once
// Plays the sound of the open record through the waveform output device: the whole WAV
// file is held in memory and streamed through two alternating 200 ms buffers, refilled on
// the user-interface thread as the device returns them. A message-only window receives the
// device's buffer-done notifications; the owner window gets WM_SOUND_DONE.
//
// Without a device the player still keeps a virtual clock (virtualPosition), so pictures
// play at the right pace on a machine without sound output.
#include "playback/ISoundPlayer.h"
#include "playback/decode/WaveFile.h"
#include "ui/Window.h"

#include <windows.h>
#include <mmsystem.h>

#include <cstdint>
#include <functional>
#include <vector>

class WaveAudioPlayer : public Window, public ISoundPlayer {
public:
    static constexpr int kMaxVolume = 16;

    // Creates the player's message-only window; owner receives WM_SOUND_DONE.
    explicit WaveAudioPlayer(HWND owner);
    ~WaveAudioPlayer() override;

    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The data ran out: the last buffer has been played.
    virtual bool isEnded() const { return ended; }

    void open(const std::wstring& path) override;
    void close() override;
    void play(int milliseconds) override;
    void stop() override;
    void pause() override;
    void resume() override;
    int state() const override { return currentState; }
    std::uint32_t rateProduct() const override { return rateProductValue; }
    int position() override;
    int volume() const override { return volumeLevel; }
    void setVolume(int level) override;

    // The playback time when state() is NoDevice: runs from play, holds at pause, goes on at resume.
    int virtualPosition() const;

    // A sample scaled by a volume level 0..16 around the silence value 128.
    static std::uint8_t scaleSample(std::uint8_t sample, int volume);

    // What the device is working on, for the video player's checks and for tests.
    int queuedBuffers() const { return queued; }
    int chunkStart() const { return currentChunkStart; }
    int chunkEnd() const { return currentChunkEnd; }
    int dataLength() const { return static_cast<int>(wave.samples.size()); }

    // Called with every chunk handed to the device: its byte offset in the data and the
    // samples as scaled for output. For tests.
    using ChunkObserver = std::function<void(int offset, const std::uint8_t* samples, int count)>;
    void setChunkObserver(ChunkObserver observer) { chunkObserver = std::move(observer); }

private:
    int queueFrom(int offset);
    void onBufferDone();
    void resetDevice();
    void openDevice(const std::wstring& path);
    void finishDrain(bool dataRanOut);
    int bytesToMilliseconds(int bytes) const;

    static void CALLBACK deviceCallback(HWAVEOUT device, UINT message, DWORD_PTR instance, DWORD_PTR param1,
                                        DWORD_PTR param2);

    HWND owner;
    HWAVEOUT device = nullptr;
    WAVEHDR buffers[2] = {};
    int nextBuffer = 0;
    int queued = 0;
    // Buffers handed to the device before its last reset whose WM_BUFFER_DONE has not been
    // handled yet. A reset returns them through the same message as normal completions; they
    // must neither count against the buffers queued after it nor trigger a refill, which
    // would skip a chunk.
    int returnsFromReset = 0;
    int currentState = NoDevice;
    std::uint32_t rateProductValue = 0;
    int baseMs = 0;
    int volumeLevel = kMaxVolume;
    int currentChunkStart = 0;
    int currentChunkEnd = 0;
    WaveFile wave;
    int bufferSize = 0;
    std::vector<std::uint8_t> bufferBlock;
    DWORD startTime = 0;
    bool ended = false;
    // waveOutPause holds the device until waveOutRestart, whatever stop or reset came between.
    bool devicePaused = false;
    ChunkObserver chunkObserver;
};
