#include "support/MessageBoxRecorder.h"
#include "ui/DefaultWindow.h"
#include "ui/Dialog.h"
#include "ui/WindowRegistry.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int kMissingTemplate = 29999;  // no dialog resource has this id

// An empty dialog template in memory: no controls, no menu, default class, no title.
struct alignas(4) EmptyTemplate {
    DLGTEMPLATE header{WS_POPUP, 0, 0, 0, 0, 120, 60};
    WORD menu = 0;
    WORD windowClass = 0;
    WORD title = 0;
};

// Closes itself with IDCANCEL as soon as it starts, through the default handler.
class SelfClosingDialog : public Dialog {
public:
    explicit SelfClosingDialog(std::vector<UINT>& seen) : Dialog(kMissingTemplate), seen(seen) {}
    INT_PTR dialogProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        seen.push_back(message);
        if (message == WM_INITDIALOG) {
            registeredDuringInit = findDialog(handle()) == this;
            PostMessageW(handle(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            return TRUE;
        }
        return Dialog::dialogProc(message, wParam, lParam);
    }
    bool registeredDuringInit = false;

private:
    std::vector<UINT>& seen;
};

HWND makeOwner() {
    return CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

TEST(Dialog, AMissingTemplateShowsTheWarningAndFails) {
    struct Case {
        const char* name;
        bool modal;
    } cases[] = {{"modal", true}, {"modeless", false}};
    for (const Case& c : cases) {
        HWND owner = makeOwner();
        MessageBoxRecorder recorder;
        Dialog dialog(kMissingTemplate);
        if (c.modal)
            EXPECT_EQ(dialog.showModal(owner), -1) << c.name;
        else
            EXPECT_EQ(dialog.showModeless(owner, SW_SHOW), nullptr) << c.name;
        ASSERT_EQ(recorder.boxes().size(), 1u) << c.name;
        const RecordedMessageBox& box = recorder.boxes()[0];
        EXPECT_EQ(box.caption, L"警告") << c.name;
        EXPECT_EQ(box.style & MB_ICONMASK, static_cast<UINT>(MB_ICONWARNING)) << c.name;
        EXPECT_EQ(box.owner, owner) << c.name;
        EXPECT_FALSE(box.text.empty()) << c.name;
        EXPECT_EQ(dialog.parent(), owner) << c.name;
        DestroyWindow(owner);
    }
}

TEST(Dialog, TheSharedProcedureBindsTheObjectUntilDestroyAndTheDefaultEndsOnCancel) {
    std::vector<UINT> seen;
    SelfClosingDialog dialog(seen);
    EmptyTemplate dialogTemplate;
    INT_PTR result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), &dialogTemplate.header, nullptr,
                                             &Dialog::sharedDialogProc, reinterpret_cast<LPARAM>(&dialog));
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_TRUE(dialog.registeredDuringInit);
    EXPECT_NE(dialog.handle(), nullptr);
    EXPECT_EQ(findDialog(dialog.handle()), nullptr) << "the registry entry must end with WM_DESTROY";
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front(), static_cast<UINT>(WM_INITDIALOG)) << "messages before WM_INITDIALOG reached the object";
}

TEST(Dialog, DefaultProcedureClaimsCommandsOnly) {
    Dialog dialog(kMissingTemplate);
    EXPECT_EQ(dialog.dialogProc(WM_COMMAND, MAKEWPARAM(1234, 0), 0), 1);
    EXPECT_EQ(dialog.dialogProc(WM_PAINT, 0, 0), 0);
    EXPECT_EQ(dialog.dialogProc(WM_TIMER, 1, 0), 0);
}

TEST(Dialog, CenterOverPlacesTheWindowInTheMiddleOfTheReference) {
    struct Case {
        const char* name;
        RECT reference;
        SIZE window;
        POINT expected;
    } cases[] = {
        {"smaller, odd difference", {100, 100, 500, 400}, {101, 51}, {249, 224}},
        {"larger than reference", {200, 200, 300, 260}, {201, 100}, {150, 180}},
        {"same size", {10, 20, 110, 70}, {100, 50}, {10, 20}},
    };
    DefaultWindow::registerOnce();
    for (const Case& c : cases) {
        HWND reference = CreateWindowExW(0, DefaultWindow::className(), L"", WS_POPUP, c.reference.left,
                                         c.reference.top, c.reference.right - c.reference.left,
                                         c.reference.bottom - c.reference.top, nullptr, nullptr,
                                         GetModuleHandleW(nullptr), nullptr);
        HWND window = CreateWindowExW(0, DefaultWindow::className(), L"", WS_POPUP, 0, 0, c.window.cx, c.window.cy,
                                      nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_TRUE(reference && window) << c.name;
        Dialog::centerOver(window, reference);
        RECT placed = {};
        GetWindowRect(window, &placed);
        EXPECT_EQ(placed.left, c.expected.x) << c.name;
        EXPECT_EQ(placed.top, c.expected.y) << c.name;
        EXPECT_EQ(placed.right - placed.left, c.window.cx) << c.name;
        EXPECT_EQ(placed.bottom - placed.top, c.window.cy) << c.name;
        DestroyWindow(window);
        DestroyWindow(reference);
    }
}
