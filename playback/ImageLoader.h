#pragma once
// Decodes recorded frames on a worker thread and doubles as a millisecond frame timer.
// The loader owns the archive of the open record; the user-interface thread opens and
// closes it under the loader's lock, the worker decodes one frame at a time under the same
// lock. Results (WM_FRAME_READY) and timer expiries (WM_FRAME_DUE) reach the target window
// as posted messages; the worker never touches a window otherwise.
#include "archive/VideoArchive.h"
#include "playback/KernelHandle.h"
#include "playback/decode/Image.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

class ImageLoader {
public:
    // How the worker turns a requested index into a picture; the archive's own decoder
    // unless a test supplies another. Runs on the worker thread with the lock held.
    using FrameDecoder = std::function<std::unique_ptr<Image>(VideoArchive& archive, int index)>;

    static constexpr DWORD kArchiveLockTimeoutMs = 3000;
    static constexpr DWORD kWorkerEndTimeoutMs = 3000;
    static constexpr DWORD kReceiptWaitMs = 500;

    // Many: each request is decoded at once. One: a request waits until the owner has
    // received the picture posted before (frameReceived) or kReceiptWaitMs have passed, so
    // that a frame-sized picture is never decoded while the one before still waits in the
    // queue: playing then needs two frame buffers, never three.
    enum class FramesInFlight { Many, One };

    // Creates the lock, the request event and the worker thread; throws WindowException
    // with the system's text when one of them cannot be made.
    explicit ImageLoader(HWND target, FrameDecoder decoder = {}, FramesInFlight inFlight = FramesInFlight::Many);
    // Ends the worker. A worker still busy after kWorkerEndTimeoutMs keeps the archive and
    // the handles alive until it ends on its own; it posts nothing after that.
    virtual ~ImageLoader();
    ImageLoader(const ImageLoader&) = delete;
    ImageLoader& operator=(const ImageLoader&) = delete;

    // Asks for the frame at index without waiting. False, with nothing changed, while a
    // decode or an archive operation holds the lock: the caller asks again at its next tick.
    bool request(int index);

    // Posts one WM_FRAME_DUE delayMs from now; a later arming replaces an earlier one.
    void armTimer(int delayMs);
    void disarmTimer();

    // The owner has taken the picture of a WM_FRAME_READY and let go of the one it replaced.
    void frameReceived();

    // Discards the result of a decode in progress, if any.
    void cancelPending();
    // Closes the archive unless the lock stays taken for kArchiveLockTimeoutMs.
    void closeArchive();

    // Archive opens under the lock. When it cannot be had within kArchiveLockTimeoutMs they
    // throw ImageException 5511 without touching the archive.
    // Event mode opens the event file, continuous mode the chapter file, image mode nothing.
    void openRecord(const std::wstring& path, int displayMode);
    void openImageFile(const std::wstring& path);
    // True when the folder held more images than the archive takes.
    bool openImageFolder(const std::wstring& folder);
    // Makes the file of an image-folder slot the archive's open file, for decoding it next.
    void reopenImage(int index);
    // Closes that file again, keeping the folder's list; nothing when the lock stays taken.
    void releaseImageFile();

    // The open record. Its opens and closes go through the loader; the user-interface
    // thread reads it between them.
    VideoArchive& archive();

    int requestedIndex() const;
    DWORD workerThreadId() const { return threadId; }
    const std::wstring& eventName() const;
    const std::wstring& lockName() const;

private:
    struct Shared;

    static DWORD WINAPI workerMain(LPVOID argument);
    static bool mayDecode(const Shared& shared);
    static void decodeRequested(Shared& shared);
    static void checkTimer(Shared& shared);

    // Shared with the worker, which keeps its own reference: whoever lets go last frees it.
    std::shared_ptr<Shared> shared;
    KernelHandle thread;
    DWORD threadId = 0;
};
