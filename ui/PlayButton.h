#pragma once
// A button with two faces, such as play and pause: the owner gives the first face with
// setImages, loadSecondFace brings in the second, and setFace chooses which one shows.
#include "ui/ImageButton.h"

class PlayButton : public ImageButton {
public:
    static constexpr int kSecondNormalId = 10034;
    static constexpr int kSecondPressedId = 10035;
    static constexpr int kSecondDisabledId = 10033;

    PlayButton(HWND parent, int x, int y, int width, int height) : ImageButton(parent, x, y, width, height) {}

    void loadSecondFace();
    // 0 the first face, 1 the second; repaints when the face changes.
    void setFace(int value);
    int face() const { return currentFace; }

private:
    int currentFace = 0;
    std::unique_ptr<AlphaImage> otherNormal;
    std::unique_ptr<AlphaImage> otherPressed;
    std::unique_ptr<AlphaImage> otherDisabled;
};
