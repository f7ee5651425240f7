// The line chart and the G circle, read back from what they paint: the scales a record
// gets, the G curve kept inside a scale that does not start at 0, the cursor at the ends
// of the record, where the circle draws a G beyond its ring, which part of the record its
// trace shows, and the range button's cycle.
#include "support/PanelFakes.h"
#include "ui/CircleChart.h"
#include "ui/LineChart.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>

namespace {

constexpr std::uint32_t kOrange = 0xFFA500;
constexpr std::uint32_t kYellow = 0xFFFF00;
constexpr int kCircleBackground = 10040;
constexpr int kCircleDisabledBackground = 10048;
constexpr int kFirstRangeButton = 10049;

struct Box {
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;  // inclusive
    bool empty() const { return left > right; }
};

// Where pixels of a colour lie in a rectangle.
Box boxOf(const CapturedPixels& pixels, std::uint32_t colour, int x0, int y0, int x1, int y1) {
    Box box;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            if (pixels.at(x, y) == colour) {
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x);
                box.top = std::min(box.top, y);
                box.bottom = std::max(box.bottom, y);
            }
    return box;
}

class LineChartTest : public ::testing::Test {
protected:
    HostWindow host{0, 0, 1100, 200};
    FakePanelSource source;
    LineChart* chart = new LineChart(host.handle(), source);

    void SetUp() override { MoveWindow(chart->handle(), 0, 0, 1020, 90, TRUE); }
    CapturedPixels drawn() {
        chart->invalidateGraph();
        UpdateWindow(chart->handle());
        chart->refreshCursor();
        return windowPixels(chart->handle());
    }
};

class CircleChartTest : public ::testing::Test {
protected:
    HostWindow host{0, 0, 300, 300};
    FakePanelSource source;
    CircleChart* chart = new CircleChart(host.handle(), source, 1.5);

    void SetUp() override { MoveWindow(chart->handle(), 0, 0, 185, 246, TRUE); }
    ImageButton* shownButton() const {
        ImageButton* shown = nullptr;
        for (int i = 0; i < CircleChart::kRanges; ++i)
            if (IsWindowVisible(chart->rangeButton(i)->handle())) {
                if (shown != nullptr) return nullptr;  // two at once is as wrong as none
                shown = chart->rangeButton(i);
            }
        return shown;
    }
};

}  // namespace

TEST(LineChartScale, AxesFollowTheLargestGAndSpeed) {
    struct Case {
        const char* name;
        double largestG;
        int largestSpeed;
        const char* gLabels[5];
        const char* speedLabels[5];
    } cases[] = {
        {"0.3 G, 30 km/h", 0.3, 30, {"+0.50", "+0.40", "+0.30", "+0.20", "+0.10"}, {" 40", " 30", " 20", " 10", "  0"}},
        {"0.7 G", 0.7, 30, {"+1.00", "+0.75", "+0.50", "+0.25", "+0.00"}, {" 40", " 30", " 20", " 10", "  0"}},
        {"41 km/h", 0.3, 41, {"+0.50", "+0.40", "+0.30", "+0.20", "+0.10"}, {" 80", " 60", " 40", " 20", "  0"}},
        {"exactly 40 km/h", 0.3, 40, {"+0.50", "+0.40", "+0.30", "+0.20", "+0.10"}, {" 40", " 30", " 20", " 10", "  0"}},
        {"standing still", 0.0, 0, {"+0.50", "+0.40", "+0.30", "+0.20", "+0.10"}, {" 40", " 30", " 20", " 10", "  0"}},
        {"1.7 G, 180 km/h", 1.7, 180, {"+2.00", "+1.50", "+1.00", "+0.50", "+0.00"}, {"200", "150", "100", " 50", "  0"}},
    };
    for (const Case& c : cases) {
        FakeRecord record(100);
        for (int i = 0; i < 100; ++i) record.sample(i, i == 50 ? c.largestSpeed : 0, i == 70 ? c.largestG : 0.0);
        LineChart::Scale scale = LineChart::scaleOf(&record);
        for (int line = 0; line < 5; ++line) {
            std::wstring g(c.gLabels[line], c.gLabels[line] + std::char_traits<char>::length(c.gLabels[line]));
            std::wstring speed(c.speedLabels[line], c.speedLabels[line] + 3);
            EXPECT_EQ(scale.gLabel(line), g) << c.name << ", line " << line;
            EXPECT_EQ(scale.speedLabel(line), speed) << c.name << ", line " << line;
        }
    }
}

TEST_F(LineChartTest, TheGCurveStaysInsideAScaleThatStartsAt01) {
    // 0.3 G with dips to 0 G: the scale runs from 0.5 down to 0.1, and 0 G lies below it.
    FakeRecord record(300);
    for (int i = 0; i < 300; ++i) record.sample(i, 20, (i / 30) % 2 == 0 ? 0.3 : 0.0);
    source.info = &record;
    CapturedPixels pixels = drawn();
    const RECT& plot = chart->plot();
    int x0 = plot.left + LineChart::kBitmapX, x1 = plot.right + LineChart::kBitmapX;
    int bottom = plot.bottom + LineChart::kBitmapY;
    EXPECT_GT(pixelsOf(pixels, kOrange, x0, plot.top + LineChart::kBitmapY, x1, bottom), 100) << "the curve is drawn";
    EXPECT_EQ(pixelsOf(pixels, kOrange, 0, bottom, pixels.width, pixels.height), 0) << "and nothing of it below the plot";
}

TEST_F(LineChartTest, TheCursorMarksTheFrameAndAOneFrameRecordAtTheRightEdge) {
    struct Case {
        const char* name;
        int frames;
        int current;
        int atNumerator;  // the cursor at left + (right - left) * numerator / denominator
        int atDenominator;
    } cases[] = {
        {"one frame: the right edge", 1, 0, 1, 1},
        {"first of 900", 900, 0, 0, 1},
        {"last of 900", 900, 899, 1, 1},
        {"frame 450 of 900", 900, 450, 450, 899},
        {"beyond the end: held at the last", 900, 5000, 1, 1},
    };
    for (const Case& c : cases) {
        FakeRecord record(c.frames);
        for (int i = 0; i < c.frames; ++i) record.sample(i, 30, 0.2);
        source.info = &record;
        source.frame = c.current;
        CapturedPixels pixels = drawn();
        const RECT& plot = chart->plot();
        int x = plot.left + (plot.right - plot.left) * c.atNumerator / c.atDenominator + LineChart::kBitmapX;
        Box cursor = boxOf(pixels, kYellow, 0, 0, pixels.width, pixels.height);
        ASSERT_FALSE(cursor.empty()) << c.name;
        EXPECT_LE(cursor.left, x) << c.name;
        EXPECT_GE(cursor.right, x - 1) << c.name;
        EXPECT_LE(cursor.right - cursor.left, 2) << c.name << ": one line";
        // A two-pixel pen reaches a pixel beyond the ends of its line.
        EXPECT_GE(cursor.top, plot.top + LineChart::kBitmapY - 1) << c.name;
        EXPECT_LE(cursor.top, plot.top + LineChart::kBitmapY) << c.name;
        EXPECT_GE(cursor.bottom, plot.bottom + LineChart::kBitmapY - 2) << c.name;
        EXPECT_LE(cursor.bottom, plot.bottom + LineChart::kBitmapY) << c.name;
    }
    // Playing moves the cursor without drawing the graph again: the old one must go.
    FakeRecord record(900);
    for (int i = 0; i < 900; ++i) record.sample(i, 30, 0.2);
    source.info = &record;
    source.frame = 0;
    drawn();
    for (int frame : {300, 899}) {
        source.frame = frame;
        chart->refreshCursor();
        CapturedPixels pixels = windowPixels(chart->handle());
        Box cursor = boxOf(pixels, kYellow, 0, 0, pixels.width, pixels.height);
        const RECT& plot = chart->plot();
        int x = plot.left + (plot.right - plot.left) * frame / 899 + LineChart::kBitmapX;
        EXPECT_LE(cursor.left, x) << "moved to " << frame;
        EXPECT_LE(cursor.right - cursor.left, 2) << "moved to " << frame << ": only the new cursor";
    }
    source.info = nullptr;
    EXPECT_TRUE(boxOf(drawn(), kYellow, 0, 0, 1020, 90).empty()) << "no record, no cursor";
}

TEST_F(CircleChartTest, AGBeyondTheRangeLiesOnTheRingInItsOwnDirection) {
    struct Case {
        const char* name;
        double lateral;
        double longitudinal;
        POINT at;
    } cases[] = {
        {"inside the ring", 0.75, 0.0, {125, 107}},
        {"3 G to the right at 1.5 G", 3.0, 0.0, {157, 107}},
        {"2 G braking at 1.5 G", 0.0, -2.0, {93, 171}},
        {"3 G to the front left at 1.5 G", -2.1213, 2.1213, {47, 61}},
        {"a wild 1000 G", 0.0, 1000.0, {93, 43}},
    };
    FakeRecord record(1);
    source.info = &record;
    CapturedPixels background = composedPictures(185, 246, {{kCircleBackground, 0, 0}});
    for (const Case& c : cases) {
        record.sample(0, 40, c.lateral, c.longitudinal);
        chart->refresh(CircleChart::Playing);
        CapturedPixels pixels = windowPixels(chart->handle());
        Box dot = boxOf(pixels, kYellow, 0, 0, 185, 216);
        ASSERT_FALSE(dot.empty()) << c.name;
        EXPECT_LE(dot.left, c.at.x) << c.name;
        EXPECT_GE(dot.right, c.at.x - 1) << c.name;
        EXPECT_LE(dot.top, c.at.y) << c.name;
        EXPECT_GE(dot.bottom, c.at.y - 1) << c.name;
        EXPECT_LE(dot.right - dot.left, 9) << c.name;
        EXPECT_EQ(differingPixels(pixels, background, 0, 0, 185, 216),
                  differingPixels(pixels, background, c.at.x - 5, c.at.y - 5, c.at.x + 6, c.at.y + 6))
            << c.name << ": nothing but the dot";
    }
}

TEST_F(CircleChartTest, TheTraceShowsTheLastTenSecondsOrTheWholeRecord) {
    // Event mode, 600 frames: the first 200 move up and down the left side of the circle
    // (x 50), the rest up and down its right side (x 135).
    FakeRecord record(600);
    for (int i = 0; i < 600; ++i) record.sample(i, 40, i < 200 ? -1.0 : 1.0, ((i % 100) - 50) / 50.0);
    source.info = &record;
    struct Case {
        const char* name;
        int mode;
        int frame;
        bool leftTraced;
        bool allOrange;
    } cases[] = {
        {"playing: the first 200 frames are older than ten seconds", CircleChart::Playing, 550, false, false},
        {"playing within the first ten seconds: all of it", CircleChart::Playing, 290, true, false},
        {"stopped at the start: the whole record, in orange", CircleChart::AtStart, 0, true, true},
        {"positioned elsewhere: everything up to the frame, in orange", CircleChart::Elsewhere, 550, true, true},
    };
    CapturedPixels background = composedPictures(185, 246, {{kCircleBackground, 0, 0}});
    for (const Case& c : cases) {
        source.frame = c.frame;
        chart->refresh(c.mode);
        CapturedPixels pixels = windowPixels(chart->handle());
        int left = differingPixels(pixels, background, 47, 40, 54, 100);  // above the dot at the start
        int right = differingPixels(pixels, background, 132, 40, 139, 100);
        EXPECT_EQ(left > 0, c.leftTraced) << c.name << ": left side " << left;
        EXPECT_GT(right, 0) << c.name << ": right side";
        if (c.allOrange) EXPECT_EQ(pixelsOf(pixels, kOrange, 132, 40, 139, 100), right) << c.name;
        else EXPECT_LT(pixelsOf(pixels, kOrange, 132, 40, 139, 100), right) << c.name << ": older lines fade";
    }
}

TEST_F(CircleChartTest, TheRangeButtonCyclesFromOneToThreeGAndBack) {
    CircleChart* fresh = chart;
    // From 1.5: 2.0, 2.5, 3.0, then back to 1.0 and on to 1.5.
    const double expected[] = {2.0, 2.5, 3.0, 1.0, 1.5};
    for (double range : expected) {
        ImageButton* button = shownButton();
        ASSERT_NE(button, nullptr) << "one range button shows before " << range;
        SendMessageW(button->handle(), WM_LBUTTONDOWN, 0, MAKELPARAM(5, 5));
        SendMessageW(button->handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        EXPECT_EQ(fresh->maximumG(), range);
        ImageButton* now = shownButton();
        ASSERT_NE(now, nullptr) << range;
        int index = static_cast<int>((range - 1.0) * 2 + 0.5);
        EXPECT_EQ(now, fresh->rangeButton(index)) << range;
        RedrawWindow(now->handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        EXPECT_EQ(differingPixels(windowPixels(now->handle()), composedPictures(94, 22, {{kFirstRangeButton + 3 * index, 0, 0}})), 0)
            << range << ": the button shows its range";
    }
}

TEST_F(CircleChartTest, DisabledItShowsItsGreyPictureAndNoButton) {
    FakeRecord record(10);
    for (int i = 0; i < 10; ++i) record.sample(i, 40, 0.5, 0.5);
    source.info = &record;
    source.frame = 5;
    EnableWindow(chart->handle(), FALSE);
    chart->updateRangeButtons();
    chart->refresh(CircleChart::Playing);
    EXPECT_EQ(shownButton(), nullptr);
    for (int i = 0; i < CircleChart::kRanges; ++i) EXPECT_FALSE(IsWindowVisible(chart->rangeButton(i)->handle())) << i;
    EXPECT_EQ(differingPixels(windowPixels(chart->handle()), composedPictures(185, 246, {{kCircleDisabledBackground, 0, 0}}), 0, 0, 185, 216), 0)
        << "the grey picture, without trace";
}
