// A measurement, not a test of behaviour: the viewer's video export of a continuous folder
// (what ファイル → AVIファイルに書き出す does), split into reading and checking every frame
// and writing the video. Disabled by default; scripts/bench-export runs it with
//   scripts/wine build/bin/export_tests.exe --gtest_also_run_disabled_tests --gtest_filter='*VideoExportMeasure*'
// and SCENOVA_MEASURE_FOLDER naming the folder (default: the build's sample card).
#include "archive/ChapterList.h"
#include "archive/RecordCatalog.h"
#include "export/ExportSource.h"
#include "export/RecordSlots.h"
#include "support/SampleCard.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>

namespace {

// Wall-clock and CPU seconds of this process since construction.
class Clock {
public:
    Clock() : wallStart(now()), cpuStart(cpu()) {}
    double wall() const { return now() - wallStart; }
    double processor() const { return cpu() - cpuStart; }

private:
    static double now() {
        LARGE_INTEGER count, frequency;
        QueryPerformanceCounter(&count);
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
    }
    static double cpu() {
        FILETIME created, ended, kernel, user;
        GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
        const auto seconds = [](const FILETIME& t) { return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) / 1e7; };
        return seconds(kernel) + seconds(user);
    }
    double wallStart;
    double cpuStart;
};

struct NoProgress : ExportProgress {
    void report(std::uint64_t, std::uint64_t) override {}
    bool cancelled() const override { return false; }
};

TEST(VideoExportMeasure, DISABLED_ContinuousFolder) {
    ExportSource source;
    source.kind = ExportSource::Kind::Continuous;
    source.files = RecordCatalog::scanContinuousFolder(sampleCardFolder(L"CONTINUE/CNT00001", L"SCENOVA_MEASURE_FOLDER")).paths;
    int slots = 0;
    Clock reading;
    for (const std::wstring& path : source.files) {
        VideoArchive archive;
        archive.openChapterFile(path);
        std::wstring error;
        ASSERT_TRUE(feedRecord(archive, nullptr, {}, [&](int, const SlotPicture&, std::wstring&) { ++slots; return true; }, error));
    }
    std::printf("read and check %d frames of %zu chapters: %.2f s, CPU %.2f s\n", slots, source.files.size(), reading.wall(),
                reading.processor());

    wchar_t temporary[MAX_PATH];
    GetTempPathW(MAX_PATH, temporary);
    const std::wstring path = std::wstring(temporary) + L"scenova-measure.avi";
    NoProgress progress;
    std::wstring error;
    Clock writing;
    ASSERT_TRUE(writeSourceVideo(source, nullptr, path, progress, error));
    std::printf("the video (read, check, write): %.2f s, CPU %.2f s\n", writing.wall(), writing.processor());
    DeleteFileW(path.c_str());
}

}  // namespace
