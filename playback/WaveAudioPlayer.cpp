#include "playback/WaveAudioPlayer.h"

#include "base/Exception.h"
#include "base/StringTable.h"
#include "playback/Messages.h"
#include "ui/DefaultWindow.h"

#include <cstring>

namespace {

constexpr unsigned kNoDeviceText = 5069;  // "デバイスがオープンされていません。"
constexpr int kBuffersPerSecond = 5;      // 200 ms per buffer
constexpr int kUnprepareAttempts = 10;
constexpr DWORD kUnprepareRetryMs = 100;

[[noreturn]] void throwNoDevice() {
    throw WaveAudioException(loadString(kNoDeviceText));
}

}  // namespace

WaveAudioPlayer::WaveAudioPlayer(HWND owner) : owner(owner) {
    WindowCreateParams params;
    params.className = DefaultWindow::className();
    params.parent = HWND_MESSAGE;
    params.instance = GetModuleHandleW(nullptr);
    create(params);
}

WaveAudioPlayer::~WaveAudioPlayer() {
    close();
}

LRESULT WaveAudioPlayer::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_BUFFER_DONE: onBufferDone(); return 0;
    }
    return Window::handleMessage(message, wParam, lParam);
}

void WaveAudioPlayer::open(const std::wstring& path) {
    close();
    wave = WaveFile::read(path);
    const WaveFormat& format = wave.format;
    bufferSize = static_cast<int>(format.blockAlignment * format.sampleRate / kBuffersPerSecond);
    bufferBlock.assign(static_cast<std::size_t>(bufferSize) * 2, 128);
    for (int i = 0; i < 2; ++i) {
        std::memset(&buffers[i], 0, sizeof buffers[i]);
        buffers[i].lpData = reinterpret_cast<LPSTR>(bufferBlock.data() + static_cast<std::size_t>(i) * bufferSize);
        buffers[i].dwBufferLength = static_cast<DWORD>(bufferSize);
        buffers[i].dwUser = reinterpret_cast<DWORD_PTR>(this);
    }
    rateProductValue = format.blockAlignment * format.sampleRate * 1000u;
    openDevice(path);
    currentState = Stopped;
}

void WaveAudioPlayer::openDevice(const std::wstring& path) {
    const WaveFormat& format = wave.format;
    WAVEFORMATEX deviceFormat = {};
    deviceFormat.wFormatTag = format.formatTag;
    deviceFormat.nChannels = format.channels;
    deviceFormat.nSamplesPerSec = format.sampleRate;
    deviceFormat.nAvgBytesPerSec = format.averageBytesPerSecond;
    deviceFormat.nBlockAlign = format.blockAlignment;
    deviceFormat.wBitsPerSample = format.bitsPerSample;
    deviceFormat.cbSize = 0;
    // The callback gets the window handle, not the player: it runs on a system thread and
    // must not depend on the object's lifetime; posting to a destroyed window is harmless.
    MMRESULT opened = waveOutOpen(&device, WAVE_MAPPER, &deviceFormat, reinterpret_cast<DWORD_PTR>(&deviceCallback),
                                  reinterpret_cast<DWORD_PTR>(handle()), CALLBACK_FUNCTION);
    if (opened != MMSYSERR_NOERROR) {
        device = nullptr;
        close();
        throw WaveAudioException(path);
    }
    for (WAVEHDR& header : buffers) {
        if (waveOutPrepareHeader(device, &header, sizeof header) != MMSYSERR_NOERROR) {
            close();
            throw WaveAudioException(path);
        }
    }
}

void WaveAudioPlayer::close() {
    if (device != nullptr) {
        currentChunkStart = 0;
        currentChunkEnd = 0;
        resetDevice();
        for (WAVEHDR& header : buffers) {
            for (int attempt = 0; attempt < kUnprepareAttempts; ++attempt) {
                if (waveOutUnprepareHeader(device, &header, sizeof header) == MMSYSERR_NOERROR) break;
                Sleep(kUnprepareRetryMs);
            }
        }
        waveOutClose(device);
        device = nullptr;
    }
    devicePaused = false;
    currentState = NoDevice;
    rateProductValue = 0;
    currentChunkStart = 0;
    currentChunkEnd = 0;
    nextBuffer = 0;
    std::memset(buffers, 0, sizeof buffers);
    wave.samples.clear();
    wave.samples.shrink_to_fit();
    bufferBlock.clear();
    bufferBlock.shrink_to_fit();
    bufferSize = 0;
}

void WaveAudioPlayer::resetDevice() {
    // Every buffer still counted as queued comes back with a WM_BUFFER_DONE of its own, and
    // the device returns buffers in order, so the next that many messages belong to the
    // output before this reset.
    returnsFromReset += queued;
    queued = 0;
    if (device != nullptr) waveOutReset(device);
}

int WaveAudioPlayer::queueFrom(int offset) {
    int last = dataLength() - 1;
    if (offset > last) offset = last;
    if (offset < 0) offset = 0;
    if (bufferSize == 0) return 0;
    int end = bufferSize * ((offset + bufferSize) / bufferSize);
    if (end > last) end = last;
    currentChunkStart = offset;
    currentChunkEnd = end;
    int count = end - offset;
    if (count > bufferSize) count = bufferSize;
    if (count <= 0) return count;

    WAVEHDR& header = buffers[nextBuffer];
    auto* out = reinterpret_cast<std::uint8_t*>(header.lpData);
    const std::uint8_t* in = wave.samples.data() + offset;
    for (int i = 0; i < count; ++i) out[i] = scaleSample(in[i], volumeLevel);
    header.dwBufferLength = static_cast<DWORD>(count);
    if (waveOutWrite(device, &header, sizeof header) != MMSYSERR_NOERROR) return count;
    if (chunkObserver) chunkObserver(offset, out, count);
    ++queued;
    nextBuffer = (nextBuffer + 1) % 2;
    currentState = Playing;
    return count;
}

void WaveAudioPlayer::onBufferDone() {
    if (returnsFromReset > 0) {
        --returnsFromReset;
        // The last buffer of a stop came back and nothing was queued since: drained.
        if (returnsFromReset == 0 && currentChunkEnd == 0 && queued <= 0) finishDrain(false);
        return;
    }
    --queued;
    if (currentChunkEnd == 0) {
        if (queued <= 0) finishDrain(false);
        return;
    }
    int queuedBytes = queueFrom(currentChunkEnd);
    if (queuedBytes <= 0 && queued <= 0) finishDrain(true);
}

void WaveAudioPlayer::finishDrain(bool dataRanOut) {
    ended = dataRanOut;
    if (currentState != NoDevice) currentState = Stopped;
    PostMessageW(owner, WM_SOUND_DONE, 0, 0);
}

void WaveAudioPlayer::play(int milliseconds) {
    startTime = timeGetTime();
    if (currentState == NoDevice) {
        baseMs = milliseconds;
        throwNoDevice();
    }
    ended = false;
    currentChunkStart = 0;
    currentChunkEnd = 0;
    resetDevice();
    // Whether a reset lifts a pause differs between systems, and a stop or a seek since the
    // pause has left the state Stopped over a still paused device: a play must be heard.
    if (devicePaused && waveOutRestart(device) == MMSYSERR_NOERROR) devicePaused = false;

    const WaveFormat& format = wave.format;
    std::int64_t bytes = static_cast<std::int64_t>(format.blockAlignment) * format.sampleRate * milliseconds / 1000;
    int last = dataLength() - 1;
    if (bytes > last) bytes = last;
    if (bytes < 0) bytes = 0;
    int offset = static_cast<int>(bytes);
    baseMs = bytesToMilliseconds(offset);

    int queuedBytes = queueFrom(offset);
    if (queuedBytes > 0) {
        queueFrom(offset + queuedBytes);
        return;
    }
    ended = true;
    currentState = Stopped;
    PostMessageW(owner, WM_SOUND_DONE, 0, 0);
}

void WaveAudioPlayer::stop() {
    if (currentState == NoDevice) throwNoDevice();
    currentChunkStart = 0;
    currentChunkEnd = 0;
    resetDevice();
    currentState = Stopped;
}

void WaveAudioPlayer::pause() {
    if (currentState == NoDevice) {
        baseMs += static_cast<int>(timeGetTime() - startTime);
        throwNoDevice();
    }
    if (waveOutPause(device) == MMSYSERR_NOERROR) {
        currentState = Paused;
        devicePaused = true;
    }
}

void WaveAudioPlayer::resume() {
    if (currentState == NoDevice) {
        startTime = timeGetTime();
        throwNoDevice();
    }
    if (ended) {
        currentState = Stopped;
        PostMessageW(owner, WM_SOUND_DONE, 0, 0);
        return;
    }
    // A stopped output holds no buffers: restarting it would claim a playing state that no
    // buffer return ever ends.
    if (currentState == Stopped) return;
    if (waveOutRestart(device) == MMSYSERR_NOERROR) {
        currentState = Playing;
        devicePaused = false;
    }
}

int WaveAudioPlayer::position() {
    if (device == nullptr) return 0;
    MMTIME time = {};
    time.wType = TIME_BYTES;
    if (waveOutGetPosition(device, &time, sizeof time) != MMSYSERR_NOERROR || time.wType != TIME_BYTES) return 0;
    std::int64_t bytes = time.u.cb;
    int last = dataLength() - 1;
    if (bytes > last) bytes = last;
    if (bytes < 0) bytes = 0;
    return bytesToMilliseconds(static_cast<int>(bytes)) + baseMs;
}

int WaveAudioPlayer::bytesToMilliseconds(int bytes) const {
    const WaveFormat& format = wave.format;
    if (format.blockAlignment == 0 || format.sampleRate == 0) return 0;
    return static_cast<int>(static_cast<std::int64_t>(bytes / format.blockAlignment) * 1000 / format.sampleRate);
}

void WaveAudioPlayer::setVolume(int level) {
    if (level > kMaxVolume - 1) level = kMaxVolume;
    if (level < 0) level = 0;
    volumeLevel = level;
}

int WaveAudioPlayer::virtualPosition() const {
    return static_cast<int>(timeGetTime() - startTime) + baseMs;
}

std::uint8_t WaveAudioPlayer::scaleSample(std::uint8_t sample, int volume) {
    // C++ division truncates toward zero, as the scaling requires.
    return static_cast<std::uint8_t>((sample - 128) * volume / kMaxVolume + 128);
}

void CALLBACK WaveAudioPlayer::deviceCallback(HWAVEOUT, UINT message, DWORD_PTR instance, DWORD_PTR, DWORD_PTR) {
    if (message == WOM_DONE) PostMessageW(reinterpret_cast<HWND>(instance), WM_BUFFER_DONE, 0, 0);
}
