// The info panel and the two speed meters, read back from what they paint: the digits and
// needle of each frame, what a frame without speed keeps, and which date, time and labels
// the info panel shows in each display mode; and the text that the info panel and the digital
// meter give a screen reader.
#include "support/PanelFakes.h"
#include "ui/AnalogSpeedMeter.h"
#include "ui/InfoPanel.h"
#include "ui/SpeedMeter.h"

#include <gtest/gtest.h>

#include <ctime>
#include <string>

namespace {

constexpr int kSpeedBackground = 10064;
constexpr int kFirstSpeedDigit = 10070;
constexpr int kSpeedDash = 10080;
constexpr int kFirstNeedle = 11000;
constexpr int kInfoBackground = 10026;
constexpr int kProtectIcon = 408;

std::int64_t timeValue(int year, int month, int day, int hour, int minute, int second) {
    std::tm calendar = {};
    calendar.tm_year = year - 1900;
    calendar.tm_mon = month - 1;
    calendar.tm_mday = day;
    calendar.tm_hour = hour;
    calendar.tm_min = minute;
    calendar.tm_sec = second;
    calendar.tm_isdst = -1;
    return _mktime64(&calendar);
}

// The glyph pictures of a text as the info panel lays them: each at its own width.
void addGlyphRun(std::vector<PicturePlace>& places, const std::wstring& text, int x, int y, bool date) {
    for (wchar_t c : text) {
        int id = 0;
        if (c >= L'0' && c <= L'9') id = (date ? 225 : 251) + (c - L'0');
        else if (c == L'-') id = date ? 235 : 250;
        else if (c == L'/') id = 224;
        else if (c == L':') id = 261;
        places.push_back({id, x, y});
        x += AlphaImage::fromResource(id)->width();
    }
}

// What a screen reader reads: the panel's window text.
std::wstring windowText(HWND window) {
    wchar_t text[128] = {};
    GetWindowTextW(window, text, 128);
    return text;
}

}  // namespace

TEST(SpeedMeterPanel, ShowsEachFramesSpeedAndKeepsTheLastForFramesWithout) {
    HostWindow host(0, 0, 400, 300);
    FakeRecord record(7);
    record.sample(1, 5);
    record.sample(3, 123);
    record.sample(4, -1);
    record.sample(5, 5000);
    FakePanelSource source;
    source.info = &record;
    SpeedMeter* meter = new SpeedMeter(host.handle(), source);
    MoveWindow(meter->handle(), 0, 0, 185, 141, TRUE);

    struct Step {
        const char* name;
        int frame;
        const wchar_t* cells;
    } steps[] = {
        {"the first frame without speed", 0, L"  -"},
        {"5 km/h in the third cell", 1, L"  5"},
        {"a frame without speed keeps 5", 2, L"  5"},
        {"three digits", 3, L"123"},
        {"an unmeasured speed", 4, L"  -"},
        {"a frame without speed keeps 123, not the unmeasured one", 2, L"123"},
        {"a speed wider than the meter stays in its three cells", 5, L"999"},
    };
    for (const Step& step : steps) {
        source.frame = step.frame;
        meter->refresh();
        std::vector<PicturePlace> expected = {{kSpeedBackground, 0, 0}};
        for (int i = 0; i < 3; ++i) {
            wchar_t c = step.cells[i];
            if (c != L' ') expected.push_back({c == L'-' ? kSpeedDash : kFirstSpeedDigit + (c - L'0'), 20 + 32 * i, 60});
        }
        EXPECT_EQ(differingPixels(windowPixels(meter->handle()), composedPictures(185, 141, expected)), 0) << step.name;
        std::wstring cells = step.cells;
        EXPECT_EQ(windowText(meter->handle()), cells.substr(cells.find_first_not_of(L' ')) + L" km/h") << step.name;
    }
}

TEST(AnalogSpeedMeterPanel, PinsAt180AndFallsBackToTheLastSpeedBelowIt) {
    HostWindow host(0, 0, 400, 300);
    FakeRecord record(8);
    record.sample(0, 50);
    record.sample(1, 200);
    record.sample(3, 180);
    record.sample(5, -3);
    FakePanelSource source;
    source.info = &record;
    AnalogSpeedMeter* meter = new AnalogSpeedMeter(host.handle(), source);
    MoveWindow(meter->handle(), 0, 0, 182, 140, TRUE);

    struct Step {
        const char* name;
        int frame;
        bool recordOpen;
        int needle;
    } steps[] = {
        {"50 km/h", 0, true, 50},
        {"200 km/h pins the needle", 1, true, 180},
        {"no sample after a pinned speed: the last speed below 180", 2, true, 50},
        {"exactly 180", 3, true, 180},
        {"no sample after 180", 4, true, 50},
        {"an unmeasured speed shows 0", 5, true, 0},
        {"no sample after the unmeasured one", 6, true, 50},
        {"no record", 0, false, 50},
    };
    for (const Step& step : steps) {
        source.info = step.recordOpen ? &record : nullptr;
        source.frame = step.frame;
        meter->refresh();
        CapturedPixels expected = composedPictures(182, 140, {{kFirstNeedle + step.needle, 0, 0}});
        EXPECT_EQ(differingPixels(windowPixels(meter->handle()), expected), 0) << step.name;
    }
    meter->reset();
    meter->refresh();
    EXPECT_EQ(differingPixels(windowPixels(meter->handle()), composedPictures(182, 140, {{kFirstNeedle, 0, 0}})), 0)
        << "reset: the needle at 0";

    // Only the last needles shown stay decoded: a sweep up and back down passes speeds
    // whose pictures were let go and decodes them again.
    FakeRecord sweep(40);
    for (int frame = 0; frame < 40; ++frame) sweep.sample(frame, frame < 20 ? frame * 3 : (39 - frame) * 3);
    source.info = &sweep;
    for (int frame = 0; frame < 40; ++frame) {
        source.frame = frame;
        meter->refresh();
        const int speed = frame < 20 ? frame * 3 : (39 - frame) * 3;
        EXPECT_EQ(differingPixels(windowPixels(meter->handle()), composedPictures(182, 140, {{kFirstNeedle + speed, 0, 0}})), 0)
            << "sweep: frame " << frame << " at " << speed << " km/h";
    }
}

TEST(InfoPanelContent, DateTimeAndLabelFollowTheModeAndTheRecord) {
    const std::int64_t start = timeValue(2026, 11, 21, 9, 40, 0);
    const std::int64_t event = timeValue(2026, 11, 21, 8, 12, 52);
    struct Case {
        const char* name;
        bool open;
        int mode;
        int kind;
        std::int64_t sampleTime;  // of every sample
        std::int64_t recordTime;
        int frame;
        bool protectedRecord;
        const wchar_t* date;
        const wchar_t* time;
        int label;  // skin picture, 0 for none
    } cases[] = {
        {"nothing open", false, 0, 1, 0, 0, 0, false, L"----/--/--", L"--:--:--", 0},
        {"event: the event sample's time", true, 0, RecordKind::AutoEvent, event, start, 0, false, L"2026/11/21",
         L"08:12:52", 288},
        {"event without sample times: the record's time", true, 0, RecordKind::ManualEvent, 0, start, 0, false,
         L"2026/11/21", L"09:40:00", 286},
        {"continuous: the start of recording, far into the chapter", true, 2, RecordKind::Continuous, event, start,
         450, false, L"2026/11/21", L"09:40:00", 429},
        {"image without a time: dashes", true, 1, RecordKind::Image, 0, start, 0, false, L"----/--/--", L"--:--:--",
         430},
        {"no detection", true, 0, RecordKind::NoDetection, event, start, 0, false, L"2026/11/21", L"08:12:52", 287},
        {"an unknown kind draws no label; protected", true, 0, 3, event, start, 0, true, L"2026/11/21", L"08:12:52",
         0},
    };
    HostWindow host(0, 0, 400, 300);
    FakePanelSource source;
    InfoPanel* panel = new InfoPanel(host.handle(), source);
    MoveWindow(panel->handle(), 0, 0, 185, 184, TRUE);
    for (const Case& c : cases) {
        FakeRecord record(600);
        for (int i = 0; i < 600; ++i) record.sample(i, 40).dateTime = c.sampleTime + (c.sampleTime != 0 ? i / 10 : 0);
        record.kind = c.kind;
        record.record = c.recordTime;
        source.info = c.open ? &record : nullptr;
        source.mode = c.mode;
        source.frame = c.frame;
        source.protectedRecord = c.protectedRecord;

        std::vector<PicturePlace> expected = {{kInfoBackground, 0, 0}};
        addGlyphRun(expected, c.date, 38, 34, true);
        addGlyphRun(expected, c.time, 38, 84, false);
        if (c.label != 0) expected.push_back({c.label, 21, 123});
        if (c.protectedRecord) expected.push_back({kProtectIcon, 145, 133});
        EXPECT_EQ(differingPixels(printClient(panel->handle()), composedPictures(185, 184, expected)), 0) << c.name;
        EXPECT_EQ(windowText(panel->handle()), std::wstring(c.date) + L" " + c.time) << c.name;
    }
}

TEST(InfoPanelContent, MissingInformationShowsOnlyItsExplanation) {
    HostWindow host(0, 0, 400, 300);
    FakeRecord record(10);
    record.sample(0, 40).dateTime = timeValue(2026, 11, 21, 9, 40, 0);
    record.missing = true;
    FakePanelSource source;
    source.info = &record;
    source.protectedRecord = true;
    InfoPanel* panel = new InfoPanel(host.handle(), source);
    MoveWindow(panel->handle(), 0, 0, 185, 184, TRUE);

    CapturedPixels painted = printClient(panel->handle());
    CapturedPixels background = composedPictures(185, 184, {{kInfoBackground, 0, 0}});
    EXPECT_GT(pixelsOf(painted, 0x0000FF, 35, 15, 170, 105), 20) << "the blue text in its place";
    EXPECT_EQ(differingPixels(painted, background) - differingPixels(painted, background, 35, 15, 170, 105), 0)
        << "nothing but the text: no date, time, label or protect icon";
}
