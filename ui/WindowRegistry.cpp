#include "ui/WindowRegistry.h"

std::map<HWND, Window*> windowRegistry;
std::map<HWND, Dialog*> dialogRegistry;

Window* findWindow(HWND handle) {
    auto found = windowRegistry.find(handle);
    return found == windowRegistry.end() ? nullptr : found->second;
}

Dialog* findDialog(HWND handle) {
    auto found = dialogRegistry.find(handle);
    return found == dialogRegistry.end() ? nullptr : found->second;
}
