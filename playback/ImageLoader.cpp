#include "playback/ImageLoader.h"

#include "archive/FirmwareCodeText.h"
#include "archive/RecordCatalog.h"
#include "base/Exception.h"
#include "base/StringTable.h"
#include "playback/Messages.h"
#include "playback/MutexLock.h"
#include "ui/WindowException.h"

#include <mmsystem.h>

#include <atomic>
#include <ctime>

namespace {

constexpr unsigned kArchiveBusyText = 5511;  // "イメージアーカイブを読み込めません。"
constexpr DWORD kWorkerWaitMs = 1;
constexpr std::size_t kNameChars = 64;

[[noreturn]] void throwSystemError() {
    throw WindowException(static_cast<std::uint32_t>(GetLastError()));
}

// The creation second in the local-time reckoning, low 32 bits.
long creationSecond() {
    std::time_t now = std::time(nullptr);
    std::tm local = *std::localtime(&now);
    return static_cast<long>(static_cast<std::int64_t>(std::mktime(&local)) & 0xFFFFFFFF);
}

// The loader's address and the creation second tell running loaders of one process apart;
// the process id keeps two copies of the program that start in the same second, with their
// loaders at the same address, from sharing one event and one mutex.
std::wstring objectName(const wchar_t* kind, const void* loader, long second) {
    wchar_t name[kNameChars] = {};
    _snwprintf(name, kNameChars - 1, L"%s%08p%ld_%lu", kind, loader, second,
               static_cast<unsigned long>(GetCurrentProcessId()));
    return name;
}

}  // namespace

struct ImageLoader::Shared {
    Shared(HWND target, FrameDecoder decoder, FramesInFlight inFlight)
        : target(target), decode(std::move(decoder)), inFlight(inFlight) {}

    // Frames are checked against this build's firmware code (string 5087).
    VideoArchive archive{currentFirmwareCode()};
    HWND target;
    FrameDecoder decode;
    FramesInFlight inFlight;
    KernelHandle requestEvent;
    KernelHandle lock;
    std::wstring eventName;
    std::wstring lockName;
    // Written by the user-interface thread under the lock, read by the worker under it.
    int requestedIndex = 0;
    // Bumped by cancelPending; a decode whose count changed while it ran is discarded.
    // A counter rather than a flag, so that a cancel arriving just after a decode ended
    // cannot discard the next one.
    std::atomic<unsigned> cancels{0};
    std::atomic<bool> quit{false};
    std::atomic<bool> timerArmed{false};
    std::atomic<DWORD> dueTime{0};
    // A posted picture the owner has not yet received, and when it was posted.
    std::atomic<bool> awaitingReceipt{false};
    std::atomic<DWORD> postedAt{0};
};

ImageLoader::ImageLoader(HWND target, FrameDecoder decoder, FramesInFlight inFlight) {
    if (!decoder) decoder = [](VideoArchive& archive, int index) { return archive.decodeFrame(index); };
    shared = std::make_shared<Shared>(target, std::move(decoder), inFlight);

    SECURITY_ATTRIBUTES security = {};
    security.nLength = sizeof security;
    security.bInheritHandle = TRUE;
    long second = creationSecond();
    shared->eventName = objectName(L"event", this, second);
    shared->lockName = objectName(L"mutex", this, second);
    shared->requestEvent.reset(CreateEventW(&security, FALSE, FALSE, shared->eventName.c_str()));
    if (!shared->requestEvent) throwSystemError();
    shared->lock.reset(CreateMutexW(&security, FALSE, shared->lockName.c_str()));
    if (!shared->lock) throwSystemError();

    auto* handoff = new std::shared_ptr<Shared>(shared);
    thread.reset(CreateThread(&security, 0, &ImageLoader::workerMain, handoff, CREATE_SUSPENDED, &threadId));
    if (!thread) {
        delete handoff;
        throwSystemError();
    }
    SetThreadPriority(thread.get(), THREAD_PRIORITY_NORMAL);
    ResumeThread(thread.get());
}

ImageLoader::~ImageLoader() {
    if (thread) {
        shared->quit = true;
        // When the worker is still inside a decode after the wait, it holds its own reference
        // to the shared state: the archive goes when that decode has ended, never under it.
        WaitForSingleObject(thread.get(), kWorkerEndTimeoutMs);
        thread.reset();
    }
}

DWORD WINAPI ImageLoader::workerMain(LPVOID argument) {
    std::shared_ptr<Shared> shared;
    {
        std::unique_ptr<std::shared_ptr<Shared>> handoff(static_cast<std::shared_ptr<Shared>*>(argument));
        shared = std::move(*handoff);
    }
    bool requested = false;
    while (!shared->quit) {
        DWORD waited = WaitForSingleObject(shared->requestEvent.get(), kWorkerWaitMs);
        if (shared->quit) break;
        if (waited == WAIT_OBJECT_0 && shared->target != nullptr) requested = true;
        if (requested && mayDecode(*shared)) {
            requested = false;
            decodeRequested(*shared);
        }
        checkTimer(*shared);
    }
    return 0;
}

bool ImageLoader::mayDecode(const Shared& shared) {
    if (shared.inFlight == FramesInFlight::Many || !shared.awaitingReceipt) return true;
    // A picture whose message never arrives (its window went) holds nothing up for long.
    return timeGetTime() - shared.postedAt >= kReceiptWaitMs;
}

void ImageLoader::decodeRequested(Shared& shared) {
    // Read before taking the lock: a cancel that finds the lock taken is then always seen.
    unsigned cancelsBefore = shared.cancels;
    MutexLock lock(shared.lock.get(), kWorkerWaitMs);
    if (!lock.isHeld()) return;  // the request is lost; the owner asks again
    int index = shared.requestedIndex;
    std::unique_ptr<Image> image;
    try {
        image = shared.decode(shared.archive, index);
    } catch (...) {
        image.reset();  // a decoder that throws is a failed decode, reported like one
    }
    if (shared.cancels != cancelsBefore || shared.quit) return;
    Image* handedOver = image.release();
    shared.postedAt = timeGetTime();
    shared.awaitingReceipt = true;
    if (!PostMessageW(shared.target, WM_FRAME_READY, static_cast<WPARAM>(index),
                      reinterpret_cast<LPARAM>(handedOver))) {
        shared.awaitingReceipt = false;
        delete handedOver;  // nobody will receive it
    }
}

void ImageLoader::checkTimer(Shared& shared) {
    if (!shared.timerArmed) return;
    // Signed difference: stays right when the millisecond clock wraps.
    if (static_cast<LONG>(timeGetTime() - shared.dueTime) < 0) return;
    shared.timerArmed = false;
    if (shared.target != nullptr) PostMessageW(shared.target, WM_FRAME_DUE, 0, 0);
}

bool ImageLoader::request(int index) {
    {
        MutexLock lock(shared->lock.get(), 0);
        if (!lock.isHeld()) return false;
        shared->requestedIndex = index;
    }
    // Signalled only once the lock is free again: a worker woken while this thread still held
    // it (this thread preempted in between, on a loaded machine) would give up after its short
    // wait and lose the request, and a stopped player never asks again.
    SetEvent(shared->requestEvent.get());
    return true;
}

void ImageLoader::frameReceived() {
    shared->awaitingReceipt = false;
}

void ImageLoader::armTimer(int delayMs) {
    shared->dueTime = timeGetTime() + static_cast<DWORD>(delayMs);
    shared->timerArmed = true;
}

void ImageLoader::disarmTimer() {
    shared->timerArmed = false;
}

void ImageLoader::cancelPending() {
    MutexLock probe(shared->lock.get(), 0);
    if (!probe.isHeld()) ++shared->cancels;
}

void ImageLoader::closeArchive() {
    MutexLock lock(shared->lock.get(), kArchiveLockTimeoutMs);
    if (lock.isHeld()) shared->archive.close();
}

void ImageLoader::openRecord(const std::wstring& path, int displayMode) {
    MutexLock lock(shared->lock.get(), kArchiveLockTimeoutMs);
    if (!lock.isHeld()) throw ImageException(loadString(kArchiveBusyText));
    if (displayMode == kDisplayEvent)
        shared->archive.openEventFile(path);
    else if (displayMode == kDisplayContinuous)
        shared->archive.openChapterFile(path);
}

void ImageLoader::openImageFile(const std::wstring& path) {
    MutexLock lock(shared->lock.get(), kArchiveLockTimeoutMs);
    if (!lock.isHeld()) throw ImageException(loadString(kArchiveBusyText));
    try {
        shared->archive.openImageFile(path);
    } catch (const Exception& e) {
        throw Exception(e.message());
    }
}

bool ImageLoader::openImageFolder(const std::wstring& folder) {
    MutexLock lock(shared->lock.get(), kArchiveLockTimeoutMs);
    if (!lock.isHeld()) throw ImageException(loadString(kArchiveBusyText));
    try {
        return shared->archive.openImageFolder(folder);
    } catch (const Exception& e) {
        throw Exception(e.message());
    }
}

void ImageLoader::reopenImage(int index) {
    MutexLock lock(shared->lock.get(), kArchiveLockTimeoutMs);
    if (!lock.isHeld()) throw ImageException(loadString(kArchiveBusyText));
    try {
        shared->archive.reopenImage(index);
    } catch (const Exception& e) {
        throw Exception(e.message());
    }
}

void ImageLoader::releaseImageFile() {
    MutexLock lock(shared->lock.get(), kArchiveLockTimeoutMs);
    if (lock.isHeld()) shared->archive.releaseOpenFile();
}

VideoArchive& ImageLoader::archive() {
    return shared->archive;
}

int ImageLoader::requestedIndex() const {
    return shared->requestedIndex;
}

const std::wstring& ImageLoader::eventName() const {
    return shared->eventName;
}

const std::wstring& ImageLoader::lockName() const {
    return shared->lockName;
}
