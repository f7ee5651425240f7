#include "ui/Window.h"

#include "ui/DefaultWindow.h"
#include "ui/WindowException.h"
#include "ui/WindowRegistry.h"

Window::Window() {
    DefaultWindow::registerOnce();
}

Window::~Window() {
    auto bound = windowRegistry.find(window);
    if (window != nullptr && bound != windowRegistry.end() && bound->second == this) windowRegistry.erase(bound);
}

LRESULT Window::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (savedProcedure != nullptr && savedProcedure != sharedWindowProc)
        return CallWindowProcW(savedProcedure, window, message, wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

void Window::create(const WindowCreateParams& params) {
    HWND created = CreateWindowExW(params.extendedStyle, params.className, params.title, params.style, params.x,
                                   params.y, params.width, params.height, params.parent, params.menuOrChildId,
                                   params.instance, params.creationParameter);
    if (created == nullptr) throw WindowException(static_cast<std::uint32_t>(GetLastError()));
    bind(created);
}

void Window::attach(HWND existing) {
    bind(existing);
}

void Window::bind(HWND handle) {
    window = handle;
    savedProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Window::sharedWindowProc)));
    windowRegistry[handle] = this;
}

bool Window::isEnabled() const {
    return (GetWindowLongW(window, GWL_STYLE) & WS_DISABLED) == 0;
}

void Window::setEnabled(bool enabled) {
    if (isEnabled() == enabled) return;
    EnableWindow(window, enabled ? TRUE : FALSE);
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
}

void Window::setVisible(bool visible) {
    bool shown = (GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0;
    if (shown == visible) return;
    ShowWindow(window, visible ? SW_SHOW : SW_HIDE);
    UpdateWindow(window);
}

WindowCreateParams Window::childParams(HWND parent, int x, int y, int width, int height) {
    WindowCreateParams params;
    params.className = DefaultWindow::className();
    params.style = WS_CHILD | WS_VISIBLE;
    params.x = x;
    params.y = y;
    params.width = width;
    params.height = height;
    params.parent = parent;
    params.instance = GetModuleHandleW(nullptr);
    return params;
}

LRESULT CALLBACK Window::sharedWindowProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* object = findWindow(handle);
    if (object == nullptr) return DefWindowProcW(handle, message, wParam, lParam);
    LRESULT result = object->handleMessage(message, wParam, lParam);
    if (message == WM_DESTROY) {
        auto bound = windowRegistry.find(handle);
        if (bound != windowRegistry.end() && bound->second == object) windowRegistry.erase(bound);
        delete object;
    }
    return result;
}
