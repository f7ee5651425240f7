#pragma once
// The view through the windscreen, drawn from the car's motion: a road in perspective whose
// lane marks, verge stripes and posts stream past at the car's speed, hills that slide when
// the car turns, a horizon that dips under braking, and the recorder's time overlay.
#include "tools/samplecard/Canvas.h"
#include "tools/samplecard/DriveProfile.h"

#include <string>

struct SceneOverlay {
    std::string dateTime;  // the recorder's stamp, top left, large
    std::string detail;    // elapsed time, speed and frame number, below it
    std::string banner;    // e.g. "AUTO EVENT"; empty for none
    Colour bannerColour{200, 30, 30};
};

class RoadScene {
public:
    static constexpr int kWidth = 640;
    static constexpr int kHeight = 480;

    static RgbPicture render(const DriveSample& motion, const SceneOverlay& overlay);
};
