#include "support/MessagePump.h"
#include "support/PaintCapture.h"
#include "ui/ImageTrackBar.h"
#include "ui/PlayTrackBar.h"

#include <gtest/gtest.h>
#include <mmsystem.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr std::uint32_t kThumb = 0x00FF00;
constexpr std::uint32_t kChannel = 0xFF0000;
constexpr std::uint32_t kFilled = 0x0000FF;

struct TrackLog : ImageTrackBarListener {
    std::vector<std::string> calls;
    void onChange(ImageTrackBar*) override { calls.push_back("change"); }
    void onBeginTrack(ImageTrackBar*) override { calls.push_back("begin"); }
    void onEndTrack(ImageTrackBar*) override { calls.push_back("end"); }
};

// A bar 110 pixels wide with a 10-pixel thumb over 0..100: one pixel per position.
class ImageTrackBarTest : public ::testing::Test {
protected:
    HostWindow host{0, 0, 300, 100};
    ImageTrackBar* bar = new ImageTrackBar(host.handle(), 0, 0, 110, 20);
    TrackLog log;

    void SetUp() override {
        bar->setImages(solidImage(10, 20, kThumb), solidImage(110, 20, kChannel), solidImage(110, 20, kFilled));
        bar->setListener(&log);
    }
    void TearDown() override { ReleaseCapture(); }
    void send(UINT message, int x) { SendMessageW(bar->handle(), message, 0, MAKELPARAM(x, 5)); }
};

TEST_F(ImageTrackBarTest, RangeAndPositionPlaceTheThumb) {
    struct Case {
        const char* name;
        int minimum, maximum, position;
        int expectedPosition, expectedThumbX;
    } cases[] = {
        {"start", 0, 100, 0, 0, 0},
        {"middle", 0, 100, 50, 50, 50},
        {"end", 0, 100, 100, 100, 100},
        {"above the range", 0, 100, 250, 100, 100},
        {"below the range", 10, 60, -3, 10, 0},
        {"half scale truncates", 0, 200, 3, 3, 1},
        {"max equals min", 7, 7, 7, 7, 0},
    };
    for (const Case& c : cases) {
        bar->setRange(c.minimum, c.maximum);
        bar->setPosition(c.position, false);
        EXPECT_EQ(bar->position(), c.expectedPosition) << c.name;
        EXPECT_EQ(bar->thumbX(), c.expectedThumbX) << c.name;
    }
    EXPECT_TRUE(log.calls.empty());
}

TEST_F(ImageTrackBarTest, SetRangeMovesThePositionSilently) {
    bar->setRange(5, 3);
    EXPECT_EQ(bar->rangeMinimum(), 5);
    EXPECT_EQ(bar->rangeMaximum(), 5);
    EXPECT_EQ(bar->position(), 5);
    EXPECT_EQ(bar->thumbX(), 0);
    bar->setRange(0, 100);
    bar->setPosition(80, false);
    bar->setRange(0, 40);
    EXPECT_EQ(bar->position(), 40);
    EXPECT_EQ(bar->thumbX(), 100);
    EXPECT_TRUE(log.calls.empty());
}

TEST_F(ImageTrackBarTest, SetPositionNotifiesOnlyChangesItIsAskedTo) {
    bar->setPosition(30, true);
    bar->setPosition(30, true);
    bar->setPosition(31, false);
    EXPECT_EQ(log.calls, std::vector<std::string>{"change"});
}

TEST_F(ImageTrackBarTest, ClickMovesTheThumbsLeftEdgeThere) {
    send(WM_LBUTTONDOWN, 60);
    EXPECT_EQ(bar->position(), 60);
    EXPECT_EQ(GetCapture(), bar->handle());
    send(WM_MOUSEMOVE, 70);
    EXPECT_EQ(bar->position(), 71);  // a drag lands one pixel further than a click
    send(WM_LBUTTONUP, 80);
    EXPECT_EQ(bar->position(), 80);
    EXPECT_EQ((std::vector<std::string>{"begin", "change", "change", "change", "end"}), log.calls);
    EXPECT_NE(GetCapture(), bar->handle());
}

TEST_F(ImageTrackBarTest, ClickOnTheThumbKeepsThePosition) {
    bar->setPosition(40, false);
    send(WM_LBUTTONDOWN, 45);
    EXPECT_EQ(bar->position(), 40);
    EXPECT_EQ((std::vector<std::string>{"begin", "change"}), log.calls);
}

TEST_F(ImageTrackBarTest, HoldingReportsThePositionEveryTick) {
    constexpr DWORD kTickMs = 100;  // how often a held bar reports
    auto changes = [&] { return static_cast<int>(std::count(log.calls.begin(), log.calls.end(), "change")); };
    DWORD pressed = timeGetTime();
    send(WM_LBUTTONDOWN, 60);
    // One at the press, then one a tick.
    ASSERT_TRUE(pumpMessagesUntil([&] { return changes() >= 4; })) << "the held bar does not report";
    DWORD held = timeGetTime() - pressed;
    send(WM_LBUTTONUP, 60);
    // A busy machine may deliver fewer ticks than the time allows, never more; one more at the release.
    EXPECT_LE(changes(), 1 + static_cast<int>(held / kTickMs) + 1 + 1) << "after " << held << " ms";
    EXPECT_EQ(log.calls.back(), "end");
}

TEST_F(ImageTrackBarTest, RestrictedBarKeepsTheMouseRightOfTheLastMarker) {
    struct Case {
        const char* name;
        TrackMarkers markers;
        int expectedAfterClick;
    } cases[] = {
        {"last lap", TrackMarkers{10, 0, {30, 50}}, 51},
        {"start marker without laps", TrackMarkers{50, 0, {}}, 51},
        {"no marker", TrackMarkers{}, 20},
    };
    for (const Case& c : cases) {
        bar->setPosition(0, false);
        bar->setMarkers(c.markers);
        bar->setRestricted(true);
        send(WM_LBUTTONDOWN, 20);
        EXPECT_EQ(bar->position(), c.expectedAfterClick) << c.name;
        send(WM_MOUSEMOVE, 25);  // still left of the marker: ignored
        EXPECT_EQ(bar->position(), c.name == std::string("no marker") ? 26 : c.expectedAfterClick) << c.name;
        send(WM_LBUTTONUP, 25);
        EXPECT_EQ(bar->position(), c.name == std::string("no marker") ? 25 : c.expectedAfterClick) << c.name;
        send(WM_LBUTTONDOWN, 75);  // right of it: free
        send(WM_LBUTTONUP, 75);
        EXPECT_EQ(bar->position(), 75) << c.name;
    }
}

TEST_F(ImageTrackBarTest, PaintsChannelAndThumb) {
    bar->setPosition(50, false);
    CapturedPixels whole = screenClient(bar->handle());
    EXPECT_EQ(whole.at(20, 10), kChannel);
    EXPECT_TRUE(whole.all(50, 0, 60, 20, kThumb));
    EXPECT_EQ(whole.at(90, 10), kChannel);

    bar->setSplit(true);
    CapturedPixels split = printClient(bar->handle());
    EXPECT_EQ(split.at(20, 10), kFilled);  // left of the thumb: filled
    EXPECT_TRUE(split.all(50, 0, 60, 20, kThumb));
    EXPECT_EQ(split.at(90, 10), kChannel);
}

TEST_F(ImageTrackBarTest, ThumbAsWideAsTheChannelDrawsNoChannel) {
    bar->setImages(solidImage(60, 20, kThumb), solidImage(60, 20, kChannel), nullptr);
    bar->setSplit(true);
    bar->setPosition(0, false);
    CapturedPixels shot = printClient(bar->handle());
    EXPECT_TRUE(shot.all(0, 0, 60, 20, kThumb));
    EXPECT_TRUE(shot.all(60, 0, 110, 20, buttonFace()));
}

TEST_F(ImageTrackBarTest, MissingPicturesDrawOnlyTheBackground) {
    bar->setImages(0x7FFF, 0x7FFE, 0);
    send(WM_LBUTTONDOWN, 60);  // no pictures: the click cannot place the thumb
    send(WM_LBUTTONUP, 60);
    EXPECT_EQ(bar->position(), 0);
    EXPECT_TRUE(printClient(bar->handle()).all(0, 0, 110, 20, buttonFace()));
}

TEST_F(ImageTrackBarTest, PositionTextUsesTheFormatter) {
    EXPECT_EQ(bar->positionText(-42), L"-42");
    bar->setTextFormatter([](int position) { return L"frame " + std::to_wstring(position); });
    EXPECT_EQ(bar->positionText(7), L"frame 7");
}

// The play bar: 560 wide, thumb 10, range 0..550, one pixel per frame.
class PlayTrackBarTest : public ::testing::Test {
protected:
    HostWindow host{0, 0, 700, 60};
    PlayTrackBar* bar = new PlayTrackBar(host.handle());

    void SetUp() override {
        bar->setImages(solidImage(10, 30, kThumb), solidImage(560, 30, kChannel), nullptr);
        bar->setSplit(true);
        bar->setRange(0, 550);
    }

    // True when the marker picture shows at its place for a position (thumb centre
    // position + 5, less half the marker, plus offset).
    static bool showsMarker(const CapturedPixels& shot, int resourceId, int position, int offset) {
        std::unique_ptr<Image> marker = skinPicture(resourceId);
        const Image* image = marker.get();
        if (image == nullptr) return false;
        int left = position + 5 - image->width() / 2 + offset;
        for (int row = 0; row < image->height(); ++row) {
            int y = PlayTrackBar::kMarkerTop + row;
            if (y >= shot.height) break;
            const std::uint8_t* pixel = image->pixels() + (image->height() - 1 - row) * image->width() * 4;
            for (int column = 0; column < image->width(); ++column, pixel += 4) {
                std::uint32_t expected = (pixel[2] << 16) | (pixel[1] << 8) | pixel[0];
                if (shot.at(left + column, y) != expected) return false;
            }
        }
        return true;
    }
    static bool plainChannel(const CapturedPixels& shot, int from, int to) { return shot.all(from, 0, to, 30, kChannel); }
};

TEST_F(PlayTrackBarTest, SitsAtItsPlaceInTheConsole) {
    RECT place;
    GetWindowRect(bar->handle(), &place);
    MapWindowPoints(nullptr, host.handle(), reinterpret_cast<POINT*>(&place), 2);
    EXPECT_EQ(place.left, 68);
    EXPECT_EQ(place.top, 7);
    EXPECT_EQ(place.right - place.left, 560);
    EXPECT_EQ(place.bottom - place.top, 30);
}

TEST_F(PlayTrackBarTest, EventMarkerShowsForEventKindsOnly) {
    struct Case {
        const char* name;
        int position, kind;
        int markerId;  // 0: none expected
    } cases[] = {
        {"automatic event", 200, 1, 10029},
        {"manual event", 200, 2, 10030},
        {"no detection", 200, 0, 0},
        {"image kind", 200, 11, 0},
        {"negative position", -1, 1, 0},
    };
    for (const Case& c : cases) {
        bar->setEvent(c.position, c.kind);
        CapturedPixels shot = printClient(bar->handle());
        if (c.markerId != 0)
            EXPECT_TRUE(showsMarker(shot, c.markerId, c.position, 2)) << c.name;
        else
            EXPECT_TRUE(plainChannel(shot, 20, 560)) << c.name;
    }
}

TEST_F(PlayTrackBarTest, StopwatchMarkersShowOnlyForContinuousRecords) {
    bar->setMarkers(TrackMarkers{100, 400, {200, 300}});
    bar->setEvent(-1, 1);
    for (int mode : {0, 1}) {
        bar->setDisplayMode(mode);
        EXPECT_TRUE(plainChannel(printClient(bar->handle()), 20, 560)) << "mode " << mode;
    }
    bar->setDisplayMode(2);
    CapturedPixels shot = printClient(bar->handle());
    EXPECT_TRUE(showsMarker(shot, PlayTrackBar::kStartMarkerId, 100, 1));
    EXPECT_TRUE(showsMarker(shot, 117, 200, 1));
    EXPECT_TRUE(showsMarker(shot, 118, 300, 1));
    EXPECT_TRUE(showsMarker(shot, PlayTrackBar::kEndMarkerId, 400, 1));
}

}
