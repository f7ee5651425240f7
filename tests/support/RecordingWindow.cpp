#include "support/RecordingWindow.h"

#include "ui/DefaultWindow.h"

#include <algorithm>
#include <mmsystem.h>

RecordingWindow::RecordingWindow(std::vector<ReceivedMessage>& log, std::vector<UINT> alsoRecord)
    : log(log), alsoRecord(std::move(alsoRecord)) {
    WindowCreateParams params;
    params.className = DefaultWindow::className();
    params.parent = HWND_MESSAGE;
    params.instance = GetModuleHandleW(nullptr);
    create(params);
}

LRESULT RecordingWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    bool listed = std::find(alsoRecord.begin(), alsoRecord.end(), message) != alsoRecord.end();
    if (message >= WM_USER || listed) log.push_back({message, wParam, lParam, timeGetTime()});
    return Window::handleMessage(message, wParam, lParam);
}

int RecordingWindow::count(const std::vector<ReceivedMessage>& log, UINT message) {
    return static_cast<int>(std::count_if(log.begin(), log.end(),
                                          [message](const ReceivedMessage& m) { return m.message == message; }));
}
