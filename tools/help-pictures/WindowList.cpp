// Lists the visible windows of a desktop (the one named on the command line, such as the
// desktop window "wine explorer /desktop=NAME" opens, or the process's own), each top-level window followed by its children
// in their stacking order, so that a script can find the viewer's controls by what they are
// (class, id, caption, place among their siblings) rather than by where they were last drawn.
//
// One line per window, UTF-8, fields separated by tabs:
//   depth  handle  process  class  id  enabled  visible  left  top  right  bottom  text
// depth 0 is a visible top-level window, the others are its children, hidden ones too (so
// that a control's place among its siblings does not change when another is hidden); the
// rectangle is in screen pixels; id is the control id
// (0 for top-level windows); text is the window's own caption, read without sending it a
// message, so that a busy window cannot stall the list.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string utf8(const std::wstring& text) {
    if (text.empty()) return std::string();
    int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &bytes[0], size, nullptr, nullptr);
    return bytes;
}

std::wstring oneLine(std::wstring text) {
    for (wchar_t& c : text)
        if (c == L'\t' || c == L'\r' || c == L'\n') c = L' ';
    return text;
}

void listWindow(HWND window, int depth) {
    if (depth == 0 && !IsWindowVisible(window)) return;
    wchar_t className[256] = L"";
    GetClassNameW(window, className, 256);
    wchar_t text[512] = L"";
    InternalGetWindowText(window, text, 512);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    RECT place{};
    GetWindowRect(window, &place);
    int id = depth == 0 ? 0 : GetDlgCtrlID(window);
    std::printf("%d\t%llx\t%lu\t%s\t%d\t%d\t%d\t%ld\t%ld\t%ld\t%ld\t%s\n", depth,
                static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)), static_cast<unsigned long>(process),
                utf8(className).c_str(), id, IsWindowEnabled(window) ? 1 : 0, IsWindowVisible(window) ? 1 : 0,
                place.left, place.top, place.right, place.bottom, utf8(oneLine(text)).c_str());
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        listWindow(child, depth + 1);
}

BOOL CALLBACK listTopLevel(HWND window, LPARAM) {
    listWindow(window, 0);
    return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        EnumWindows(listTopLevel, 0);
    } else {
        // The thread moves onto that desktop (it has no windows of its own that would keep
        // it), and then sees what a program there sees.
        HDESK desktop = OpenDesktopW(argv[1], 0, FALSE, GENERIC_ALL);
        if (desktop == nullptr || !SetThreadDesktop(desktop)) {
            std::fprintf(stderr, "no desktop %s\n", utf8(argv[1]).c_str());
            return 1;
        }
        EnumWindows(listTopLevel, 0);
        CloseDesktop(desktop);
    }
    std::fflush(stdout);
    return 0;
}
