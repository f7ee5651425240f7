#pragma once
// Base of every custom window of the program. The object is bound to its native window:
// the framework routes each message of the handle to handleMessage and deletes the object
// right after its window has handled WM_DESTROY. Owners create window objects with new and
// never delete them; DestroyWindow ends both.
#include "ui/WindowCreateParams.h"

#include <windows.h>

class Window {
public:
    // Registers the DefaultWindow class on first use; throws WindowException when that fails.
    Window();
    // Does not destroy the native window. An object deleted while still bound (a derived
    // constructor that threw after create) unbinds itself, so the handle's later messages
    // reach DefWindowProcW instead of a deleted object.
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // The message handler; derived classes end their switch with Window::handleMessage.
    virtual LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Creates the native window, subclasses it and binds it to this object. Throws
    // WindowException with the system's text when CreateWindowExW fails.
    virtual void create(const WindowCreateParams& params);

    // Binds this object to a window created elsewhere (a control made by a dialog template).
    void attach(HWND existing);

    HWND handle() const { return window; }

    bool isEnabled() const;
    // Enables or disables the window and repaints it at once; nothing when already so.
    void setEnabled(bool enabled);
    // Shows or hides the window and updates it; nothing when already so.
    void setVisible(bool visible);

    // The usual parameters of a child panel or control: DefaultWindow, no title,
    // WS_CHILD | WS_VISIBLE, the program's instance.
    static WindowCreateParams childParams(HWND parent, int x, int y, int width, int height);

    // The procedure the framework installs on every window it binds.
    static LRESULT CALLBACK sharedWindowProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void bind(HWND handle);

    HWND window = nullptr;
    WNDPROC savedProcedure = nullptr;
};
