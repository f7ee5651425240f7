// A measurement, not a test of behaviour: the main window opens a folder of 600 image
// records of 640 x 480 and fills the thumbnail strip. It reports the time from the open to
// the strip's done state, the process's memory with all 600 thumbnails in, and how long
// messages posted to the user-interface thread waited meanwhile (the strip must stay
// responsive while it fills). Disabled by default; run it on a machine as quiet as can be had:
//   scripts/wine build/bin/app_tests.exe --gtest_also_run_disabled_tests --gtest_filter='*ImageFolderLoad*'
// The records are written once into the build tree (SCENOVA_BUILD_DIR\measure\images600).
#include "app/MainWindow.h"
#include "playback/Thumbnail.h"
#include "support/MainWindowFixture.h"
#include "support/MessageBoxRecorder.h"
#include "support/MessagePump.h"
#include "tools/writer/RecorderWriter.h"

#include <gtest/gtest.h>

#include <mmsystem.h>
#include <objbase.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

namespace {

constexpr int kRecords = 600;
constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kRuns = 3;
constexpr UINT kProbe = WM_APP + 7;
constexpr DWORD kProbeIntervalMs = 10;

std::wstring measureFolder() {
    const wchar_t* build = _wgetenv(L"SCENOVA_BUILD_DIR");
    std::wstring base = build != nullptr ? L"Z:" + std::wstring(build) : L"C:\\users\\Public";
    std::replace(base.begin(), base.end(), L'/', L'\\');
    CreateDirectoryW((base + L"\\measure").c_str(), nullptr);
    return base + L"\\measure\\images600";
}

// A road-like picture: sky and ground gradients, a lane and some grain, so that the JPEG has
// about the size of the recorder's (some 20 KB at 640 x 480).
RgbPicture scene(int seed) {
    RgbPicture picture;
    picture.width = kWidth;
    picture.height = kHeight;
    picture.rgb.resize(static_cast<std::size_t>(kWidth) * kHeight * 3);
    std::uint32_t grain = 2166136261u + static_cast<std::uint32_t>(seed);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            grain = grain * 1664525u + 1013904223u;
            int noise = static_cast<int>(grain >> 28) - 8;
            bool sky = y < kHeight / 2;
            int lane = std::abs(x - kWidth / 2 - (seed % 40) * (y - kHeight / 2) / kHeight) < 4 + y / 40;
            std::uint8_t* p = &picture.rgb[(static_cast<std::size_t>(y) * kWidth + x) * 3];
            int r = sky ? 90 + y / 4 : 80 + (y - kHeight / 2) / 6;
            int g = sky ? 140 + y / 5 : 120 - (y - kHeight / 2) / 8;
            int b = sky ? 220 - y / 6 : 70;
            if (!sky && lane) r = g = b = 230;
            p[0] = static_cast<std::uint8_t>(std::clamp(r + noise, 0, 255));
            p[1] = static_cast<std::uint8_t>(std::clamp(g + noise, 0, 255));
            p[2] = static_cast<std::uint8_t>(std::clamp(b + noise, 0, 255));
        }
    }
    return picture;
}

void writeRecordsOnce(const std::wstring& folder) {
    if (GetFileAttributesW((folder + L"\\IMG00600.dpc").c_str()) != INVALID_FILE_ATTRIBUTES) return;
    CreateDirectoryW(folder.c_str(), nullptr);
    for (int i = 0; i < kRecords; ++i) {
        FrameFields fields;
        fields.timeStamp = 1000;
        fields.dateTime = RecorderDateTime{2026, 11, 21, 10 + i / 60 / 60, i / 60 % 60, i % 60};
        fields.speed = i % 120;
        RecorderWriter file;
        file.videoChunk(fields, scene(i));
        wchar_t name[32];
        _snwprintf(name, 31, L"\\IMG%05d.dpc", i + 1);
        ASSERT_TRUE(file.save(folder + name));
    }
}

struct Memory {
    double workingSetMiB;
    double privateMiB;
};

Memory memoryNow() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return {counters.WorkingSetSize / 1048576.0, counters.PagefileUsage / 1048576.0};
}

// CPU time used so far, in milliseconds: by the whole process and by the calling thread.
struct CpuTime {
    double process;
    double thread;
};

double milliseconds(const FILETIME& kernel, const FILETIME& user) {
    auto ticks = [](const FILETIME& t) { return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return (ticks(kernel) + ticks(user)) / 10000.0;
}

CpuTime cpuNow() {
    FILETIME created, ended, kernel, user;
    CpuTime now = {};
    if (GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user)) now.process = milliseconds(kernel, user);
    if (GetThreadTimes(GetCurrentThread(), &created, &ended, &kernel, &user)) now.thread = milliseconds(kernel, user);
    return now;
}

double percentile(std::vector<DWORD> values, double fraction) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(fraction * (values.size() - 1))];
}

}  // namespace

TEST(ImageFolderLoadMeasure, DISABLED_SixHundredImagesFromOpenToDone) {
    std::wstring folder = measureFolder();
    writeRecordsOnce(folder);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    pretendWindowsVersion(10);
    MessageBoxRecorder boxes;
    MainWindow* window = new MainWindow();
    ShowWindow(window->handle(), SW_SHOW);
    pumpMessagesFor(500);
    Memory before = memoryNow();

    // A thread posts a probe every 10 ms; the window procedure notes how long each waited.
    std::vector<DWORD> waits;
    std::atomic<bool> probing{false};
    std::atomic<bool> stop{false};
    DWORD uiThread = GetCurrentThreadId();
    std::thread prober([&] {
        while (!stop) {
            if (probing) PostThreadMessageW(uiThread, kProbe, 0, static_cast<LPARAM>(timeGetTime()));
            Sleep(kProbeIntervalMs);
        }
    });
    auto pumpUntil = [&](const std::function<bool()>& done, DWORD timeoutMs) {
        DWORD start = timeGetTime();
        for (;;) {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                if (message.message == kProbe && message.hwnd == nullptr) {
                    waits.push_back(timeGetTime() - static_cast<DWORD>(message.lParam));
                    continue;
                }
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
            if (done()) return true;
            if (timeGetTime() - start >= timeoutMs) return false;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        }
    };

    Thumbnail* strip = window->thumbnailStrip();
    std::vector<DWORD> runs;
    Memory loaded = before;
    for (int run = 0; run < kRuns; ++run) {
        window->clearDisplay();
        pumpMessagesFor(200);
        waits.clear();
        probing = true;
        DWORD start = timeGetTime();
        CpuTime cpuStart = cpuNow();
        window->loadFolder(folder);
        ASSERT_TRUE(pumpUntil([&] { return strip->isDone(); }, 300000));
        DWORD took = timeGetTime() - start;
        CpuTime cpuEnd = cpuNow();
        probing = false;
        runs.push_back(took);
        loaded = memoryNow();
        std::printf("run %d: open to done %lu ms, %d thumbnails; UI waits: median %.0f ms, 99th %.0f ms, max %.0f ms (%zu probes)\n",
                    run + 1, static_cast<unsigned long>(took), strip->imageCount(), percentile(waits, 0.5),
                    percentile(waits, 0.99), percentile(waits, 1.0), waits.size());
        std::printf("       CPU: process %.0f ms, user-interface thread %.0f ms\n", cpuEnd.process - cpuStart.process,
                    cpuEnd.thread - cpuStart.thread);
    }
    stop = true;
    prober.join();
    std::printf("open to done, median of %d: %.0f ms\n", kRuns, percentile(runs, 0.5));
    std::printf("memory before: working set %.1f MiB, private %.1f MiB\n", before.workingSetMiB, before.privateMiB);
    std::printf("memory with 600 thumbnails: working set %.1f MiB, private %.1f MiB\n", loaded.workingSetMiB,
                loaded.privateMiB);
    EXPECT_EQ(strip->imageCount(), kRecords);
    EXPECT_TRUE(boxes.boxes().empty());
    DestroyWindow(window->handle());
    MSG quit;
    while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    CoUninitialize();
}
