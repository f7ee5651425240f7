#include "support/MessageBoxRecorder.h"

MessageBoxRecorder::MessageBoxRecorder(int answer) {
    previous = setMessageBoxHandler([this, answer](const std::wstring& text, const std::wstring& caption, UINT style,
                                                   HWND owner) {
        shown.push_back({text, caption, style, owner});
        return answer;
    });
}

MessageBoxRecorder::~MessageBoxRecorder() {
    setMessageBoxHandler(std::move(previous));
}
