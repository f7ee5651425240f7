#pragma once
// The one window class of the program's own windows. It is registered the first time a
// Window is constructed; its procedure is DefWindowProcW, because the framework subclasses
// every window right after creation and routes the messages to the window's object.
#include <windows.h>

class DefaultWindow {
public:
    // Registers the class unless this process already did; throws WindowException with the
    // system's text when registration fails.
    static void registerOnce();
    // The class atom, 0 before registerOnce succeeded.
    static ATOM atom() { return classAtom; }
    // The atom in the form CreateWindowExW takes as class name.
    static LPCWSTR className() { return MAKEINTATOM(classAtom); }
    // How many times this process registered the class (1 once any Window exists).
    static int registrationCount() { return registrations; }

private:
    static ATOM classAtom;
    static int registrations;
};
