#include "ui/DefaultWindow.h"
#include "ui/Window.h"
#include "ui/WindowRegistry.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace {

// Notes every message it handles and tells the test when it is deleted.
class ProbeWindow : public Window {
public:
    ProbeWindow(std::vector<UINT>& seen, bool& deleted, const wchar_t* title = L"", HWND parent = HWND_MESSAGE)
        : seen(seen), deleted(deleted) {
        WindowCreateParams params;
        params.className = DefaultWindow::className();
        params.title = title;
        params.parent = parent;
        params.instance = GetModuleHandleW(nullptr);
        create(params);
    }
    ~ProbeWindow() override { deleted = true; }

    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        seen.push_back(message);
        return Window::handleMessage(message, wParam, lParam);
    }

private:
    std::vector<UINT>& seen;
    bool& deleted;
};

bool contains(const std::vector<UINT>& seen, UINT message) {
    for (UINT m : seen)
        if (m == message) return true;
    return false;
}

// A window whose construction fails after its native window exists.
class FailingWindow : public Window {
public:
    explicit FailingWindow(HWND& made) {
        WindowCreateParams params;
        params.className = DefaultWindow::className();
        params.parent = HWND_MESSAGE;
        params.instance = GetModuleHandleW(nullptr);
        create(params);
        made = handle();
        throw std::runtime_error("construction failed");
    }
};

// Binds itself to a control created by someone else.
class AttachedControl : public Window {
public:
    AttachedControl(HWND control, bool& deleted) : deleted(deleted) { attach(control); }
    ~AttachedControl() override { deleted = true; }

private:
    bool& deleted;
};

}  // namespace

TEST(Window, CreationMessagesBeforeBindingReachTheDefaultProcedure) {
    std::vector<UINT> seen;
    bool deleted = false;
    auto* window = new ProbeWindow(seen, deleted, L"probe title");
    HWND handle = window->handle();
    ASSERT_NE(handle, nullptr);
    EXPECT_FALSE(contains(seen, WM_NCCREATE));
    EXPECT_FALSE(contains(seen, WM_CREATE));
    // DefWindowProcW takes the title from WM_NCCREATE: proof that it handled that message.
    wchar_t title[32] = {};
    GetWindowTextW(handle, title, 32);
    EXPECT_STREQ(title, L"probe title");
    EXPECT_EQ(findWindow(handle), window);
    DestroyWindow(handle);
}

TEST(Window, ObjectIsDeletedAfterItsDestroyHandlerAndLaterMessagesGoToTheDefault) {
    std::vector<UINT> seen;
    bool deleted = false;
    auto* window = new ProbeWindow(seen, deleted);
    HWND handle = window->handle();
    SendMessageW(handle, WM_USER + 7, 0, 0);
    EXPECT_TRUE(contains(seen, WM_USER + 7));

    ASSERT_TRUE(DestroyWindow(handle));
    EXPECT_TRUE(deleted);
    EXPECT_TRUE(contains(seen, WM_DESTROY));
    EXPECT_FALSE(contains(seen, WM_NCDESTROY)) << "WM_NCDESTROY reached the deleted object";
    EXPECT_EQ(findWindow(handle), nullptr);
    EXPECT_EQ(windowRegistry.count(handle), 0u);
}

TEST(Window, MessagesForAnUnboundHandleGoToTheDefaultProcedure) {
    DefaultWindow::registerOnce();
    HWND handle = CreateWindowExW(0, DefaultWindow::className(), L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(Window::sharedWindowProc(handle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"plain")), TRUE);
    wchar_t text[16] = {};
    GetWindowTextW(handle, text, 16);
    EXPECT_STREQ(text, L"plain");
    DestroyWindow(handle);
}

TEST(Window, TheClassIsRegisteredOnceForManyWindows) {
    std::vector<UINT> seen;
    bool deleted = false;
    std::vector<HWND> handles;
    for (int i = 0; i < 25; ++i) handles.push_back((new ProbeWindow(seen, deleted))->handle());
    ATOM atom = DefaultWindow::atom();
    for (int i = 0; i < 5; ++i) handles.push_back((new ProbeWindow(seen, deleted))->handle());

    EXPECT_EQ(DefaultWindow::registrationCount(), 1);
    EXPECT_EQ(DefaultWindow::atom(), atom);
    for (HWND handle : handles) EXPECT_EQ(GetClassLongPtrW(handle, GCW_ATOM), atom);
    WNDCLASSEXW info = {sizeof(info)};
    ASSERT_TRUE(GetClassInfoExW(GetModuleHandleW(nullptr), L"DefaultWindow", &info));
    EXPECT_EQ(info.style, static_cast<UINT>(CS_HREDRAW | CS_VREDRAW));
    EXPECT_EQ(info.hbrBackground, nullptr);
    for (HWND handle : handles) DestroyWindow(handle);
}

TEST(Window, AConstructorThatThrowsLeavesNoBindingToTheDeletedObject) {
    HWND made = nullptr;
    EXPECT_THROW(new FailingWindow(made), std::runtime_error);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(findWindow(made), nullptr);
    // Must reach DefWindowProcW, not the deleted object.
    SendMessageW(made, WM_USER + 1, 0, 0);
    EXPECT_TRUE(DestroyWindow(made));
}

TEST(Window, AnAttachedControlKeepsItsOwnProcedureAndDiesWithTheControl) {
    HWND control = CreateWindowExW(0, L"STATIC", L"before", 0, 0, 0, 10, 10, HWND_MESSAGE, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(control, nullptr);
    bool deleted = false;
    auto* attached = new AttachedControl(control, deleted);
    EXPECT_EQ(GetWindowLongPtrW(control, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&Window::sharedWindowProc));
    EXPECT_EQ(findWindow(control), attached);
    SetWindowTextW(control, L"after");
    wchar_t text[16] = {};
    GetWindowTextW(control, text, 16);
    EXPECT_STREQ(text, L"after");
    DestroyWindow(control);
    EXPECT_TRUE(deleted);
    EXPECT_EQ(findWindow(control), nullptr);
}

TEST(Window, EnableAndShowHelpersChangeOnlyWhatDiffers) {
    std::vector<UINT> seen;
    bool deleted = false;
    DefaultWindow::registerOnce();
    HWND parent = CreateWindowExW(0, DefaultWindow::className(), L"", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(parent, nullptr);
    auto* window = new ProbeWindow(seen, deleted, L"", parent);
    SetWindowLongW(window->handle(), GWL_STYLE, WS_CHILD | WS_VISIBLE);

    struct Step {
        const char* name;
        bool enable;
        bool visible;
    } steps[] = {{"disable", false, true}, {"disable again", false, true}, {"hide", false, false},
                 {"enable hidden", true, false}, {"show", true, true}};
    for (const Step& step : steps) {
        window->setEnabled(step.enable);
        window->setVisible(step.visible);
        EXPECT_EQ(window->isEnabled(), step.enable) << step.name;
        EXPECT_EQ(IsWindowEnabled(window->handle()) != FALSE, step.enable) << step.name;
        EXPECT_EQ((GetWindowLongW(window->handle(), GWL_STYLE) & WS_VISIBLE) != 0, step.visible) << step.name;
    }
    // Enabling an already enabled window must not touch it.
    seen.clear();
    window->setEnabled(true);
    window->setEnabled(true);
    int enables = 0;
    for (UINT m : seen) enables += m == WM_ENABLE;
    EXPECT_EQ(enables, 0) << "enabling an enabled window changed it";
    DestroyWindow(parent);
    EXPECT_TRUE(deleted) << "the child's object must die with its parent";
}
