#include "tools/probe/ViewerDriver.h"

#include "resources/resource.h"

#include <commctrl.h>
#include <psapi.h>
#include <shlobj.h>

#include <functional>
#include <vector>

namespace {

// The viewer may be slow on a loaded machine; these only matter when something is broken.
constexpr DWORD kWindowDeadlineMs = 60000;
constexpr DWORD kPollMs = 20;
constexpr DWORD kSendTimeoutMs = 30000;
constexpr DWORD kAskAgainMs = 5000;
constexpr DWORD kSelectDeadlineMs = 20000;
constexpr int kOpenAttempts = 5;

bool waitFor(const std::function<bool()>& done, DWORD deadlineMs = kWindowDeadlineMs) {
    for (DWORD start = GetTickCount();;) {
        if (done()) return true;
        if (GetTickCount() - start >= deadlineMs) return false;
        Sleep(kPollMs);
    }
}

std::wstring windowText(HWND window) {
    wchar_t text[1100] = {};
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, 1100, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, kSendTimeoutMs,
                             &length))
        return std::wstring();
    return text;
}

std::wstring className(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

std::string narrow(const std::wstring& text) {
    int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(size > 0 ? size - 1 : 0, '\0');
    if (size > 1) WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], size, nullptr, nullptr);
    return out;
}

std::vector<HWND> topLevelWindowsOf(DWORD processId) {
    struct Search {
        DWORD id;
        std::vector<HWND> found;
    } search{processId, {}};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == s->id && IsWindowVisible(window)) s->found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Memory inside the viewer's process, for messages whose parameters point at data: the
// viewer reads them in its own address space.
class RemoteBlock {
public:
    RemoteBlock(HANDLE process, std::size_t size)
        : process(process), address(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}
    ~RemoteBlock() {
        if (address != nullptr) VirtualFreeEx(process, address, 0, MEM_RELEASE);
    }
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;

    bool ok() const { return address != nullptr; }
    void* at(std::size_t offset) const { return static_cast<char*>(address) + offset; }
    bool write(std::size_t offset, const void* data, std::size_t size) const {
        SIZE_T done = 0;
        return WriteProcessMemory(process, at(offset), data, size, &done) && done == size;
    }
    bool read(std::size_t offset, void* data, std::size_t size) const {
        SIZE_T done = 0;
        return ReadProcessMemory(process, at(offset), data, size, &done) && done == size;
    }

private:
    HANDLE process;
    void* address;
};

// The name of the item selected in the browser's folder tree, read through the viewer's memory.
std::wstring selectedTreeItem(HANDLE process, HWND browser) {
    HWND nameSpace = FindWindowExW(browser, nullptr, L"SHBrowseForFolder ShellNameSpace Control", nullptr);
    HWND tree = FindWindowExW(nameSpace != nullptr ? nameSpace : browser, nullptr, WC_TREEVIEWW, nullptr);
    if (tree == nullptr) return std::wstring();
    DWORD_PTR item = 0;
    if (!SendMessageTimeoutW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0, SMTO_NORMAL, kSendTimeoutMs, &item) || item == 0)
        return std::wstring();
    RemoteBlock block(process, sizeof(TVITEMW) + MAX_PATH * sizeof(wchar_t));
    if (!block.ok()) return std::wstring();
    TVITEMW query = {};
    query.mask = TVIF_TEXT;
    query.hItem = reinterpret_cast<HTREEITEM>(item);
    query.pszText = static_cast<wchar_t*>(block.at(sizeof(TVITEMW)));
    query.cchTextMax = MAX_PATH;
    wchar_t text[MAX_PATH] = {};
    DWORD_PTR answered = 0;
    if (!block.write(0, &query, sizeof query) ||
        !SendMessageTimeoutW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(block.at(0)), SMTO_NORMAL, kSendTimeoutMs,
                             &answered) ||
        !answered || !block.read(sizeof(TVITEMW), text, sizeof text))
        return std::wstring();
    text[MAX_PATH - 1] = L'\0';
    return text;
}

bool hasFolderTree(HWND dialog) {
    HWND nameSpace = FindWindowExW(dialog, nullptr, L"SHBrowseForFolder ShellNameSpace Control", nullptr);
    return FindWindowExW(nameSpace != nullptr ? nameSpace : dialog, nullptr, WC_TREEVIEWW, nullptr) != nullptr;
}

std::wstring lastPart(const std::wstring& folder) {
    std::wstring trimmed = folder;
    while (trimmed.size() > 3 && trimmed.back() == L'\\') trimmed.pop_back();
    std::size_t slash = trimmed.find_last_of(L'\\');
    return slash == std::wstring::npos ? trimmed : trimmed.substr(slash + 1);
}

}  // namespace

DWORD ViewerDriver::findProcess(const std::wstring& imagePath) {
    std::vector<DWORD> ids(4096);
    DWORD bytes = 0;
    if (!EnumProcesses(ids.data(), static_cast<DWORD>(ids.size() * sizeof(DWORD)), &bytes)) return 0;
    for (std::size_t i = 0; i < bytes / sizeof(DWORD); ++i) {
        HANDLE candidate = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, ids[i]);
        if (candidate == nullptr) continue;
        wchar_t path[MAX_PATH * 2] = {};
        DWORD length = MAX_PATH * 2;
        bool same = QueryFullProcessImageNameW(candidate, 0, path, &length) && lstrcmpiW(path, imagePath.c_str()) == 0;
        CloseHandle(candidate);
        if (same) return ids[i];
    }
    return 0;
}

ViewerDriver::ViewerDriver(DWORD processId)
    : id(processId),
      process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE |
                              SYNCHRONIZE,
                          FALSE, processId)) {}

ViewerDriver::~ViewerDriver() {
    if (process != nullptr) CloseHandle(process);
}

bool ViewerDriver::fail(const std::string& what) {
    lastError = what;
    // A warning the viewer shows instead would block the next step: read it out and close it.
    HWND main = mainWindow();
    for (HWND window : topLevelWindowsOf(id)) {
        if (window == main || className(window) != L"#32770" || hasFolderTree(window)) continue;
        lastError += " (the viewer shows \"" + narrow(windowText(window)) + "\"";
        HWND text = FindWindowExW(window, nullptr, L"Static", nullptr);
        if (text != nullptr) text = FindWindowExW(window, text, L"Static", nullptr);
        if (text != nullptr) lastError += ": \"" + narrow(windowText(text)) + "\"";
        lastError += ")";
        PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
    return false;
}

HWND ViewerDriver::mainWindow() const {
    for (HWND window : topLevelWindowsOf(id))
        if (GetWindow(window, GW_OWNER) == nullptr && GetMenu(window) != nullptr) return window;
    return nullptr;
}

bool ViewerDriver::panelTexts(std::vector<std::wstring>& texts) const {
    texts.clear();
    HWND main = mainWindow();
    if (main == nullptr) return false;
    for (HWND child = GetWindow(main, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child)) continue;
        std::wstring text = windowText(child);
        if (!text.empty()) texts.push_back(text);
    }
    return true;
}

bool ViewerDriver::menuOpen() const {
    for (HWND window : topLevelWindowsOf(id))
        if (className(window) == L"#32768") return true;
    return false;
}

HWND ViewerDriver::ownedDialog(HWND owner, const std::wstring& caption) const {
    for (HWND window : topLevelWindowsOf(id))
        if (GetWindow(window, GW_OWNER) == owner && className(window) == L"#32770" &&
            (caption.empty() || windowText(window) == caption))
            return window;
    return nullptr;
}

bool ViewerDriver::openFolder(const std::wstring& folder) {
    if (process == nullptr) return fail("the viewer's process cannot be opened");
    HWND main = nullptr;
    if (!waitFor([&] { return (main = mainWindow()) != nullptr; })) return fail("the viewer has no main window");
    std::wstring path = folder;
    RemoteBlock text(process, (path.size() + 1) * sizeof(wchar_t));
    if (!text.ok() || !text.write(0, path.c_str(), (path.size() + 1) * sizeof(wchar_t)))
        return fail("no memory in the viewer for the folder's name");
    std::wstring name = lastPart(folder);
    // Wine's folder dialog walks its tree comparing each level's item, modification time
    // included, with the path asked for: a folder on the way that changed since the dialog
    // listed it stops the walk for good. A new dialog lists the folders anew.
    for (int attempt = 1;; ++attempt) {
        PostMessageW(main, WM_COMMAND, MAKEWPARAM(IDC_MENU_OPEN, 0), 0);
        HWND browser = nullptr;
        if (!waitFor([&] { return (browser = ownedDialog(main, L"")) != nullptr; }))
            return fail("the folder dialog did not appear");
        // Posted, so that it comes after the dialog's own request for its start folder; asked
        // again now and then, as the dialog may still be filling its tree.
        DWORD asked = 0;
        bool selected = waitFor(
            [&] {
                if (asked == 0 || GetTickCount() - asked >= kAskAgainMs) {
                    PostMessageW(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(text.at(0)));
                    asked = GetTickCount();
                }
                return lstrcmpiW(selectedTreeItem(process, browser).c_str(), name.c_str()) == 0;
            },
            kSelectDeadlineMs);
        if (selected) {
            PostMessageW(browser, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(browser, IDOK)));
            if (!waitFor([&] { return !IsWindow(browser); })) return fail("the folder dialog did not close");
            break;
        }
        std::string shown = narrow(selectedTreeItem(process, browser));
        PostMessageW(browser, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(browser, IDCANCEL)));
        if (!waitFor([&] { return !IsWindow(browser); })) return fail("the folder dialog did not close");
        if (attempt == kOpenAttempts)
            return fail("the folder dialog did not select " + narrow(folder) + " (it shows " + shown + ")");
    }
    if (!waitFor([&] { return windowText(main).find(folder) != std::wstring::npos; }))
        return fail("the caption does not name " + narrow(folder) + " but reads \"" + narrow(windowText(main)) + "\"");
    return true;
}

bool ViewerDriver::exitProgram() {
    if (process == nullptr) return fail("the viewer's process cannot be opened");
    HWND main = mainWindow();
    if (main == nullptr) return fail("the viewer has no main window");
    PostMessageW(main, WM_COMMAND, MAKEWPARAM(IDC_MENU_EXIT, 0), 0);
    // With a record open the viewer asks first ("確認"); without one it ends at once.
    waitFor([&] {
        HWND question = ownedDialog(main, L"確認");
        if (question != nullptr) PostMessageW(question, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return question != nullptr || WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
    });
    if (WaitForSingleObject(process, kWindowDeadlineMs) != WAIT_OBJECT_0) return fail("the viewer did not end");
    return true;
}

bool ViewerDriver::folderDialogState(std::wstring& selected, std::wstring& focusClass, int& kind) const {
    // The open folder or the settings' drive dialog, whichever window owns it.
    HWND browser = nullptr;
    for (HWND window : topLevelWindowsOf(id))
        if (className(window) == L"#32770" && hasFolderTree(window)) browser = window;
    if (browser == nullptr || process == nullptr) return false;
    selected = selectedTreeItem(process, browser);
    GUITHREADINFO thread = {};
    thread.cbSize = sizeof thread;
    focusClass.clear();
    if (GetGUIThreadInfo(GetWindowThreadProcessId(browser, nullptr), &thread) && thread.hwndFocus != nullptr)
        focusClass = className(thread.hwndFocus) + L"#" + std::to_wstring(GetDlgCtrlID(thread.hwndFocus));
    DWORD_PTR chosen = static_cast<DWORD_PTR>(CB_ERR);
    HWND kindList = GetDlgItem(browser, IDC_FOLDER_KIND_LIST);
    if (kindList == nullptr ||
        !SendMessageTimeoutW(kindList, CB_GETCURSEL, 0, 0, SMTO_NORMAL, kSendTimeoutMs, &chosen))
        chosen = static_cast<DWORD_PTR>(CB_ERR);
    kind = static_cast<int>(static_cast<LRESULT>(chosen));
    return true;
}

bool ViewerDriver::focusedControl(std::wstring& focusClass, std::wstring& text) const {
    HWND main = mainWindow();
    GUITHREADINFO thread = {};
    thread.cbSize = sizeof thread;
    if (main == nullptr || !GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &thread) ||
        thread.hwndFocus == nullptr)
        return false;
    focusClass = className(thread.hwndFocus) + L"#" + std::to_wstring(GetDlgCtrlID(thread.hwndFocus));
    text = windowText(thread.hwndFocus);
    return true;
}
