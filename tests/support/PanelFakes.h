#pragma once
// What the panel tests give the panels instead of a player: a record's information made up
// in the test, and the player's state over it. Also pictures composed from skin pictures
// to compare a panel's painting with, and a panel's pixels as they stand.
#include "archive/RecordKind.h"
#include "support/PaintCapture.h"
#include "ui/IPanelSource.h"

#include <memory>
#include <vector>

class FakeRecord : public IVideoInfo {
public:
    explicit FakeRecord(int slots);

    // The sample of a slot, made when the slot had none.
    FrameRecord& sample(int index);
    // A sample with the given speed and G (lateral, longitudinal; the magnitude follows).
    FrameRecord& sample(int index, int speed, double lateral = 0.0, double longitudinal = 0.0);

    int kind = RecordKind::AutoEvent;
    int event = -1;
    bool missing = false;
    std::int64_t first = 0;
    std::int64_t last = 0;
    std::int64_t record = 0;

    std::wstring formatIdentifier() const override { return L"0000"; }
    std::wstring longFormatIdentifier() const override { return L"00000000"; }
    int recordKind() const override { return kind; }
    int eventIndex() const override { return event; }
    const FrameRecord* eventFrame() const override { return frameAt(event); }
    double eventGFirst() const override { return 0.0; }
    double eventGSecond() const override { return 0.0; }
    int slotCount() const override { return static_cast<int>(slots.size()); }
    const FrameRecord* frameAt(int index) const override;
    int slotsPerPicture() const override { return 1; }
    bool informationMissing() const override { return missing; }
    std::int64_t firstTime() const override { return first; }
    std::int64_t lastTime() const override { return last; }
    std::int64_t recordTime() const override { return record; }

private:
    std::vector<std::unique_ptr<FrameRecord>> slots;
};

struct FakePanelSource : IPanelSource {
    const IVideoInfo* info = nullptr;
    int frame = 0;
    int mode = 0;
    bool protectedRecord = false;

    const IVideoInfo* frameInfo() const override { return info; }
    int currentFrame() const override { return frame; }
    int displayMode() const override { return mode; }
    bool recordProtected() const override { return protectedRecord; }
};

// A skin picture ("IMAGE" resource) and where it goes.
struct PicturePlace {
    int id;
    int x;
    int y;
};
// The pictures drawn in order at their own sizes on a black canvas of width x height.
CapturedPixels composedPictures(int width, int height, const std::vector<PicturePlace>& pictures);
// The client area as the window's DC holds it now, without repainting.
CapturedPixels windowPixels(HWND window);
// How many pixels of the rectangle [x0, x1) x [y0, y1) differ between two captures (of the
// same size: a test failure otherwise).
int differingPixels(const CapturedPixels& a, const CapturedPixels& b, int x0, int y0, int x1, int y1);
int differingPixels(const CapturedPixels& a, const CapturedPixels& b);
// How many pixels of the rectangle have this colour (0x00RRGGBB).
int pixelsOf(const CapturedPixels& pixels, std::uint32_t colour, int x0, int y0, int x1, int y1);
