#pragma once
// The process-wide maps from native handles to the objects the framework routes their
// messages to. Both belong to the user-interface thread; nothing locks them.
#include <windows.h>

#include <map>

class Window;
class Dialog;

extern std::map<HWND, Window*> windowRegistry;
extern std::map<HWND, Dialog*> dialogRegistry;

// The object bound to a handle, or nullptr.
Window* findWindow(HWND handle);
Dialog* findDialog(HWND handle);
