#include "ui/DefaultWindow.h"

#include "ui/WindowException.h"

ATOM DefaultWindow::classAtom = 0;
int DefaultWindow::registrations = 0;

void DefaultWindow::registerOnce() {
    if (classAtom != 0) return;
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = L"DefaultWindow";
    ATOM registered = RegisterClassExW(&windowClass);
    if (registered == 0) throw WindowException(static_cast<std::uint32_t>(GetLastError()));
    classAtom = registered;
    ++registrations;
}
