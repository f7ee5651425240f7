#pragma once
// Every message box of the program goes through showMessageBox. The program's boxes are
// the system's own; tests install a handler that records each box and answers it, so that
// no test ever blocks on a box nobody can see.
#include <windows.h>

#include <functional>
#include <string>

using MessageBoxHandler = std::function<int(const std::wstring& text, const std::wstring& caption, UINT style, HWND owner)>;

// Shows a box (MessageBoxW) or hands it to the installed handler; returns the button chosen.
int showMessageBox(const std::wstring& text, const std::wstring& caption, UINT style, HWND owner);

// Installs a handler for every later box (an empty one restores MessageBoxW); returns the
// handler it replaces.
MessageBoxHandler setMessageBoxHandler(MessageBoxHandler handler);
