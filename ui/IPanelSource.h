#pragma once
// What the panels beside the picture read: the open record, the frame on screen and the
// display mode. The main window answers from its video player; tests give their own.
#include "archive/IVideoInfo.h"

class IPanelSource {
public:
    // The open record's information, or nullptr when nothing is open.
    virtual const IVideoInfo* frameInfo() const = 0;
    // The slot of the frame on screen.
    virtual int currentFrame() const = 0;
    // 0 event records, 1 image records, 2 continuous records.
    virtual int displayMode() const = 0;
    // The open record, or one of its frames, is marked protected.
    virtual bool recordProtected() const = 0;

protected:
    ~IPanelSource() = default;
};
