#include "ui/MessageBox.h"

namespace {
MessageBoxHandler& installedHandler() {
    static MessageBoxHandler handler;
    return handler;
}
}

int showMessageBox(const std::wstring& text, const std::wstring& caption, UINT style, HWND owner) {
    const MessageBoxHandler& handler = installedHandler();
    if (handler) return handler(text, caption, style, owner);
    return MessageBoxW(owner, text.c_str(), caption.c_str(), style);
}

MessageBoxHandler setMessageBoxHandler(MessageBoxHandler handler) {
    MessageBoxHandler previous = std::move(installedHandler());
    installedHandler() = std::move(handler);
    return previous;
}
