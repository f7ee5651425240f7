#include "ui/PlayButton.h"

void PlayButton::loadSecondFace() {
    otherNormal = AlphaImage::fromResource(kSecondNormalId);
    otherPressed = AlphaImage::fromResource(kSecondPressedId);
    otherDisabled = AlphaImage::fromResource(kSecondDisabledId);
}

void PlayButton::setFace(int value) {
    if (value == currentFace) return;
    std::swap(normalImage, otherNormal);
    std::swap(pressedImage, otherPressed);
    std::swap(disabledImage, otherDisabled);
    currentFace = value;
    InvalidateRect(handle(), nullptr, TRUE);
    UpdateWindow(handle());
}
