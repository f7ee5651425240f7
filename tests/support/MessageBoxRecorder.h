#pragma once
// Answers every message box shown while it lives, instead of MessageBoxW, and keeps what
// was shown. Restores the previous handler when it goes.
#include "ui/MessageBox.h"

#include <string>
#include <vector>

struct RecordedMessageBox {
    std::wstring text;
    std::wstring caption;
    UINT style;
    HWND owner;
};

class MessageBoxRecorder {
public:
    explicit MessageBoxRecorder(int answer = IDOK);
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    const std::vector<RecordedMessageBox>& boxes() const { return shown; }

private:
    std::vector<RecordedMessageBox> shown;
    MessageBoxHandler previous;
};
