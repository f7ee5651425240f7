#include "tools/samplecard/RoadScene.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kCameraHeight = 1.3;   // metres above the road
constexpr double kFocal = 520.0;        // pixels
constexpr double kLaneHalfWidth = 3.4;  // metres from the centre line to the road edge
constexpr double kPostSpacing = 30.0;   // metres between roadside posts
constexpr double kPostOffset = 5.0;     // metres from the centre line

Colour mix(Colour a, Colour b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return {static_cast<std::uint8_t>(a.red + (b.red - a.red) * t),
            static_cast<std::uint8_t>(a.green + (b.green - a.green) * t),
            static_cast<std::uint8_t>(a.blue + (b.blue - a.blue) * t)};
}

double positiveModulo(double value, double period) {
    const double r = std::fmod(value, period);
    return r < 0 ? r + period : r;
}

struct View {
    double horizon;     // row of the horizon
    double bend;        // pixels the road's far end swings aside in a bend
    double distance;    // metres driven

    // Depth in metres of a row below the horizon.
    double depthAt(double row) const { return kCameraHeight * kFocal / std::max(0.5, row - horizon); }
    double rowAt(double depth) const { return horizon + kCameraHeight * kFocal / depth; }
    // Screen column of the road's centre at a row: the bend grows toward the horizon.
    double centreAt(double row) const {
        const double nearness = std::clamp((row - horizon) / (RoadScene::kHeight - horizon), 0.0, 1.0);
        return RoadScene::kWidth / 2.0 + bend * (1.0 - nearness) * (1.0 - nearness);
    }
};

void drawSky(Canvas& canvas, const View& view, double heading) {
    const Colour top{70, 130, 210};
    const Colour low{185, 212, 238};
    const Colour hills{96, 128, 104};
    const int horizon = static_cast<int>(view.horizon);
    for (int y = 0; y < std::min(horizon, canvas.height()); ++y) {
        const Colour sky = mix(top, low, static_cast<double>(y) / std::max(1, horizon));
        for (int x = 0; x < canvas.width(); ++x) canvas.set(x, y, sky);
    }
    // Far hills move sideways as the car turns, the clearest cue of a bend.
    const double shift = heading * kFocal;
    for (int x = 0; x < canvas.width(); ++x) {
        const double u = x + shift;
        const double height = 22 + 12 * std::sin(u / 53.0) + 7 * std::sin(u / 17.0 + 1.3);
        canvas.fillRect(x, static_cast<int>(view.horizon - height), x + 1, horizon, hills);
    }
}

void drawGround(Canvas& canvas, const View& view) {
    const Colour grassLight{92, 150, 70};
    const Colour grassDark{78, 132, 60};
    const Colour asphaltLight{96, 96, 102};
    const Colour asphaltDark{86, 86, 92};
    const Colour paint{236, 236, 230};
    for (int y = std::max(0, static_cast<int>(view.horizon)); y < canvas.height(); ++y) {
        const double depth = view.depthAt(y + 0.5);
        const double scale = kFocal / depth;  // pixels per metre at this row
        const double centre = view.centreAt(y);
        const double halfRoad = kLaneHalfWidth * scale;
        // Bands along the road, fixed to the ground, stream toward the viewer.
        const bool lightBand = positiveModulo(depth + view.distance, 16.0) < 8.0;
        const bool centreDash = positiveModulo(depth + view.distance, 12.0) < 5.0;
        const double fade = std::clamp(depth / 120.0, 0.0, 1.0);
        const Colour grass = mix(lightBand ? grassLight : grassDark, Colour{150, 175, 150}, fade * 0.6);
        const Colour road = mix(lightBand ? asphaltLight : asphaltDark, Colour{140, 140, 150}, fade * 0.5);
        const double lineHalf = std::max(0.6, 0.08 * scale);
        for (int x = 0; x < canvas.width(); ++x) {
            const double across = std::fabs(x + 0.5 - centre);
            Colour colour = across < halfRoad ? road : grass;
            if (across < halfRoad && across > halfRoad - 2 * lineHalf) colour = paint;
            if (centreDash && across < lineHalf) colour = paint;
            canvas.set(x, y, colour);
        }
    }
}

void drawPosts(Canvas& canvas, const View& view) {
    const double first = kPostSpacing - positiveModulo(view.distance, kPostSpacing);
    // Far to near, so nearer posts cover farther ones.
    for (int k = 6; k >= 0; --k) {
        const double depth = first + k * kPostSpacing;
        if (depth < 1.5) continue;
        const double scale = kFocal / depth;
        const double base = view.rowAt(depth);
        const double height = 1.8 * scale;
        const int half = std::max(1, static_cast<int>(0.12 * scale));
        for (int side = -1; side <= 1; side += 2) {
            const int x = static_cast<int>(view.centreAt(base) + side * kPostOffset * scale);
            canvas.fillRect(x - half, static_cast<int>(base - height), x + half, static_cast<int>(base),
                            Colour{235, 235, 235});
            canvas.fillRect(x - half, static_cast<int>(base - height), x + half,
                            static_cast<int>(base - height * 0.8), Colour{210, 40, 40});
        }
    }
}

void drawOverlay(Canvas& canvas, const SceneOverlay& overlay) {
    canvas.darken(0, 0, canvas.width(), 62, 0.45);
    canvas.drawText(12, 8, overlay.dateTime, 3, Colour{255, 255, 255});
    canvas.drawText(12, 40, overlay.detail, 2, Colour{255, 230, 120});
    if (!overlay.banner.empty()) {
        const int width = Canvas::textWidth(overlay.banner, 3) + 20;
        const int left = canvas.width() - width - 12;
        canvas.fillRect(left, canvas.height() - 50, left + width, canvas.height() - 12, overlay.bannerColour);
        canvas.drawText(left + 10, canvas.height() - 42, overlay.banner, 3, Colour{255, 255, 255});
    }
}

}  // namespace

RgbPicture RoadScene::render(const DriveSample& motion, const SceneOverlay& overlay) {
    Canvas canvas(kWidth, kHeight);
    View view;
    // Braking pitches the nose down, so the horizon climbs; accelerating does the opposite.
    view.horizon = 200.0 + motion.acceleration / DriveProfile::kGravity * 60.0;
    view.bend = motion.lateralG * 320.0;
    view.distance = motion.distance;
    drawSky(canvas, view, motion.heading);
    drawGround(canvas, view);
    drawPosts(canvas, view);
    drawOverlay(canvas, overlay);
    return canvas.result();
}
