#include "app/FolderDialog.h"

#include "app/Application.h"
#include "app/ItemIdList.h"
#include "base/StringTable.h"
#include "ui/Dialog.h"
#include "ui/MessageBox.h"

#include <shlobj.h>

#include <algorithm>
#include <vector>

namespace {

constexpr unsigned kWarningCaption = 5005;
constexpr UINT kBrowseFlags = BIF_RETURNONLYFSDIRS | BIF_RETURNFSANCESTORS | BIF_NEWDIALOGSTYLE | BIF_NONEWFOLDERBUTTON;
// A control of the Windows 2000 browser that the program never wanted shown.
constexpr int kWindows2000ExtraControl = 14150;

// The row of the record-folder variant, in client coordinates relative to the OK button's row.
constexpr int kLabelX = 18;
constexpr int kLabelDown = 5;
constexpr int kLabelWidth = 55;
constexpr int kLabelHeight = 16;
constexpr int kListX = 73;
constexpr int kListWidth = 90;
constexpr int kListDropHeight = 120;
constexpr int kOkX = 169;
constexpr int kCancelGap = 175;  // Cancel's x is OK's width plus this

// Window properties: where the replaced procedures and the session are kept. They hold full
// pointers, which a 64-bit address needs.
const wchar_t* const kPreviousProcedure = L"SCENOVA.FolderDialog.PreviousProcedure";
const wchar_t* const kSessionProperty = L"SCENOVA.FolderDialog.Session";

struct BrowseSession {
    std::wstring startFolder;
    bool recordVariant = false;
    // The kind chosen in the drop-down; it becomes the display mode only when a folder is
    // returned, so a refused choice leaves the open record's mode alone.
    int chosenMode = 0;
};

const wchar_t* const kKindNames[] = {L"ｲﾍﾞﾝﾄ記録", L"画像記録", L"連続記録"};

WNDPROC previousProcedureOf(HWND window) {
    return reinterpret_cast<WNDPROC>(GetPropW(window, kPreviousProcedure));
}

void subclass(HWND window, WNDPROC procedure) {
    LONG_PTR previous = SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
    SetPropW(window, kPreviousProcedure, reinterpret_cast<HANDLE>(previous));
}

// Puts the original procedure back; returns it for the message being handled.
WNDPROC unsubclass(HWND window) {
    WNDPROC previous = previousProcedureOf(window);
    if (previous != nullptr) SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    RemovePropW(window, kPreviousProcedure);
    return previous;
}

LRESULT callPrevious(WNDPROC previous, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (previous == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    return CallWindowProcW(previous, window, message, wParam, lParam);
}

RECT clientRectOf(HWND child, HWND parent) {
    RECT rect = {};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void moveIfNeeded(HWND browser, HWND control, int x, int y) {
    if (control == nullptr) return;
    RECT now = clientRectOf(control, browser);
    if (now.left == x && now.top == y) return;
    SetWindowPos(control, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(browser, nullptr, TRUE);
}

// Keeps label, drop-down, OK and Cancel on one row at the OK button's height.
void layoutKindRow(HWND browser) {
    HWND ok = GetDlgItem(browser, IDOK);
    if (ok == nullptr) return;
    RECT okRect = clientRectOf(ok, browser);
    int rowTop = okRect.top;
    int okWidth = okRect.right - okRect.left;
    moveIfNeeded(browser, GetDlgItem(browser, FolderDialog::kKindLabelId), kLabelX, rowTop + kLabelDown);
    moveIfNeeded(browser, GetDlgItem(browser, FolderDialog::kKindListId), kListX, rowTop);
    moveIfNeeded(browser, ok, kOkX, rowTop);
    moveIfNeeded(browser, GetDlgItem(browser, IDCANCEL), okWidth + kCancelGap, rowTop);
}

void addKindRow(HWND browser, int displayMode) {
    HWND ok = GetDlgItem(browser, IDOK);
    int rowTop = ok != nullptr ? clientRectOf(ok, browser).top : 0;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    HWND label = CreateWindowExW(0, L"STATIC", L"ﾃﾞｰﾀ種別:", WS_CHILD | WS_VISIBLE, kLabelX, rowTop + kLabelDown,
                                 kLabelWidth, kLabelHeight, browser,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(FolderDialog::kKindLabelId)), instance,
                                 nullptr);
    HWND list = CreateWindowExW(WS_EX_CLIENTEDGE, L"COMBOBOX", L"",
                                WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, kListX, rowTop,
                                kListWidth, kListDropHeight, browser,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(FolderDialog::kKindListId)), instance,
                                nullptr);
    if (label != nullptr) SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    if (list == nullptr) return;
    SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    for (const wchar_t* name : kKindNames) SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(displayMode), 0);
    layoutKindRow(browser);
}

void takeChosenKind(HWND browser, BrowseSession& session) {
    LRESULT chosen = SendDlgItemMessageW(browser, FolderDialog::kKindListId, CB_GETCURSEL, 0, 0);
    if (chosen != CB_ERR) session.chosenMode = static_cast<int>(chosen);
}

// The browser is an owned overlapped window, for which GetParent gives no owner.
void centreOverOwner(HWND browser) {
    HWND owner = GetParent(browser);
    if (owner == nullptr) owner = GetWindow(browser, GW_OWNER);
    if (owner != nullptr) Dialog::centerOver(browser, owner);
}

LRESULT CALLBACK browserProcedure(HWND browser, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC previous = previousProcedureOf(browser);
    auto* session = static_cast<BrowseSession*>(GetPropW(browser, kSessionProperty));
    bool recordVariant = session != nullptr && session->recordVariant;
    switch (message) {
    case WM_HELP:
    case WM_CONTEXTMENU:
        return TRUE;
    case WM_DESTROY:
        RemovePropW(browser, kSessionProperty);
        return callPrevious(unsubclass(browser), browser, message, wParam, lParam);
    case WM_SIZE: {
        LRESULT result = callPrevious(previous, browser, message, wParam, lParam);
        if (recordVariant) layoutKindRow(browser);
        return result;
    }
    case WM_PAINT:
        if (recordVariant) layoutKindRow(browser);
        break;
    case WM_SHOWWINDOW:
        if (recordVariant && wParam) {
            LRESULT result = callPrevious(previous, browser, message, wParam, lParam);
            SetFocus(GetDlgItem(browser, FolderDialog::kKindListId));
            return result;
        }
        break;
    case WM_COMMAND:
        if (recordVariant && LOWORD(wParam) == IDOK) takeChosenKind(browser, *session);
        break;
    }
    return callPrevious(previous, browser, message, wParam, lParam);
}

LRESULT CALLBACK treeProcedure(HWND tree, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_HELP: return TRUE;
    case WM_DESTROY: return callPrevious(unsubclass(tree), tree, message, wParam, lParam);
    default: return callPrevious(previousProcedureOf(tree), tree, message, wParam, lParam);
    }
}

HWND findFolderTree(HWND browser) {
    HWND nameSpace = FindWindowExW(browser, nullptr, L"SHBrowseForFolder ShellNameSpace Control", nullptr);
    HWND tree = nameSpace != nullptr ? FindWindowExW(nameSpace, nullptr, L"SysTreeView32", nullptr) : nullptr;
    return tree != nullptr ? tree : FindWindowExW(browser, nullptr, L"SysTreeView32", nullptr);
}

// The browser finds a folder given without its trailing backslash ("C:\" keeps it).
std::wstring withoutTrailingBackslash(std::wstring folder) {
    while (folder.size() > 3 && folder.back() == L'\\') folder.pop_back();
    return folder;
}

void initialiseBrowser(HWND browser, BrowseSession& session) {
    session.startFolder = withoutTrailingBackslash(session.startFolder);
    SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(session.startFolder.c_str()));
    // Some browsers fill their tree after this notification and lose part of the path: ask
    // again once the dialog runs.
    PostMessageW(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(session.startFolder.c_str()));
    centreOverOwner(browser);
    const OSVERSIONINFOEXW& os = Application::osVersion();
    if (os.dwMajorVersion == 5 && os.dwMinorVersion == 0) ShowWindow(GetDlgItem(browser, kWindows2000ExtraControl), SW_HIDE);
    LONG_PTR extended = GetWindowLongPtrW(browser, GWL_EXSTYLE);
    SetWindowLongPtrW(browser, GWL_EXSTYLE, extended & ~static_cast<LONG_PTR>(WS_EX_CONTEXTHELP));

    SetPropW(browser, kSessionProperty, &session);
    subclass(browser, &browserProcedure);
    if (session.recordVariant) {
        addKindRow(browser, session.chosenMode);
    } else if (HWND tree = findFolderTree(browser)) {
        subclass(tree, &treeProcedure);
    }
}

int CALLBACK browseCallback(HWND browser, UINT message, LPARAM, LPARAM data) {
    if (message == BFFM_INITIALIZED) initialiseBrowser(browser, *reinterpret_cast<BrowseSession*>(data));
    return 0;
}

}  // namespace

bool FolderDialog::browse(const std::wstring& prompt, HWND owner, std::wstring& folder, int& displayMode) {
    BrowseSession session;
    session.startFolder = folder;
    session.recordVariant = prompt == loadString(kRecordFolderPrompt);
    session.chosenMode = displayMode;

    std::vector<wchar_t> buffer(MAX_PATH, L'\0');
    folder.copy(buffer.data(), std::min<std::size_t>(folder.size(), MAX_PATH - 1));

    BROWSEINFOW info = {};
    info.hwndOwner = owner;
    info.pszDisplayName = buffer.data();
    info.lpszTitle = prompt.c_str();
    info.ulFlags = kBrowseFlags;
    info.lpfn = &browseCallback;
    info.lParam = reinterpret_cast<LPARAM>(&session);

    ItemIdList chosen(SHBrowseForFolderW(&info));
    if (chosen.get() == nullptr) return false;

    std::vector<wchar_t> path(MAX_PATH, L'\0');
    if (!SHGetPathFromIDListW(chosen.get(), path.data()) || path[0] == L'\0') {
        showMessageBox(loadString(kUnusableFolderText), loadString(kWarningCaption), MB_OK | MB_ICONWARNING, owner);
        return false;
    }
    folder = path.data();
    if (session.recordVariant) displayMode = session.chosenMode;
    return true;
}

bool FolderDialog::chooseRecordFolder(HWND owner, std::wstring& folder, int& displayMode) {
    return browse(loadString(kRecordFolderPrompt), owner, folder, displayMode);
}

bool FolderDialog::chooseDrive(const std::wstring& prompt, HWND owner, std::wstring& folder) {
    int unusedMode = 0;
    return browse(prompt, owner, folder, unusedMode);
}
