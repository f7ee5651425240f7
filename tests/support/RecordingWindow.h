#pragma once
// A message-only framework window that notes the messages it receives in a log owned by
// the test, with their arrival time, so that the log outlives the window.
#include "ui/Window.h"

#include <vector>

struct ReceivedMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;  // multimedia clock at arrival
};

class RecordingWindow : public Window {
public:
    // Records only messages at or above WM_USER and the ones listed in alsoRecord.
    explicit RecordingWindow(std::vector<ReceivedMessage>& log, std::vector<UINT> alsoRecord = {});
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // How many logged messages have this number.
    static int count(const std::vector<ReceivedMessage>& log, UINT message);

private:
    std::vector<ReceivedMessage>& log;
    std::vector<UINT> alsoRecord;
};
