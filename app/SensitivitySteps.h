#pragma once
// The recorder's eleven sensitivity levels as the simple tab offers them, in hundredths of G:
// level 1 (0.60 G, the least sensitive) to level 11 (0.40 G). The simple tab's track bar has
// two positions per level, so that a threshold between two levels (set in the detailed tab
// or read from the card) shows on the odd position between them.
class SensitivitySteps {
public:
    static constexpr int kCount = 11;
    static constexpr int kStandard = 45;  // level 6, "標準"
    static constexpr int kHigh = 40;      // level 11, "高感度"
    static constexpr int kLastPosition = 2 * (kCount - 1);

    // The threshold of a level index (0 to 10; others are clamped).
    static int thresholdAt(int index);
    static bool isStep(int threshold);

    struct Place {
        int position;   // on the 0..20 track bar
        bool between;   // odd position between two levels: the label shows "%d*"
    };
    // A step gives its own even position, a threshold between two steps the odd position in
    // front of the next lower step; anything outside 0.40 to 0.60 G gives position 0.
    static Place placeOf(int threshold);

    // The level shown for a track bar position ("%d", "%d*" between levels).
    static int levelAt(int position) { return position / 2 + 1; }
};
