#pragma once
// How an image button reports to its owner, synchronously on the user-interface thread.
class ImageButton;

class ImageButtonListener {
public:
    // The button was activated: released inside it, or Enter released.
    virtual void onClick(ImageButton* button) = 0;
    // The button went down, and again at every auto-repeat tick while it stays down.
    virtual void onPress(ImageButton* button) = 0;

protected:
    ~ImageButtonListener() = default;
};
