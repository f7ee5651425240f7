// The export progress dialog runs its work off the user-interface thread, ends with the
// work's outcome and stops the work when キャンセル is pressed.
#include "app/ExportProgressDialog.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr DWORD kDeadlineMs = 30000;

// Presses キャンセル as soon as the dialog is up, when asked to.
class ObservedProgressDialog : public ExportProgressDialog {
public:
    ObservedProgressDialog(Work work, bool pressCancel) : ExportProgressDialog(L"書き出しています", std::move(work)), press(pressCancel) {}
    INT_PTR dialogProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        const INT_PTR result = ExportProgressDialog::dialogProc(message, wParam, lParam);
        if (message == WM_INITDIALOG && press) PostMessageW(handle(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return result;
    }

private:
    bool press;
};

struct ProgressCase {
    const char* name;
    bool pressCancel;
    std::function<bool(ExportProgress&, std::wstring&, HWND owner)> work;
    ExportProgressDialog::Outcome expected;
    const wchar_t* error;
};

TEST(ExportProgressDialogTest, EndsWithTheWorksOutcome) {
    const ProgressCase cases[] = {
        {"done while the windows keep answering", false,
         [](ExportProgress& progress, std::wstring&, HWND owner) {
             for (int step = 0; step <= 100; ++step) progress.report(static_cast<std::uint64_t>(step), 100);
             // The owner answers only if the user-interface thread is free to run its messages.
             DWORD_PTR answer = 0;
             return SendMessageTimeoutW(owner, WM_NULL, 0, 0, SMTO_NORMAL, kDeadlineMs, &answer) != 0;
         },
         ExportProgressDialog::Done, L""},
        {"failed with a message", false,
         [](ExportProgress&, std::wstring& error, HWND) {
             error = L"ファイルを書き出せませんでした。";
             return false;
         },
         ExportProgressDialog::Failed, L"ファイルを書き出せませんでした。"},
        {"cancelled", true,
         [](ExportProgress& progress, std::wstring&, HWND) {
             const DWORD start = GetTickCount();
             while (!progress.cancelled()) {
                 if (GetTickCount() - start > kDeadlineMs) return true;  // never asked: reads as Done
                 Sleep(5);
             }
             return false;
         },
         ExportProgressDialog::Cancelled, L""},
    };
    for (const ProgressCase& test : cases) {
        SCOPED_TRACE(test.name);
        HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 100, 100, 600, 400, nullptr, nullptr,
                                     GetModuleHandleW(nullptr), nullptr);
        ObservedProgressDialog dialog(
            [&](ExportProgress& progress, std::wstring& error) { return test.work(progress, error, owner); }, test.pressCancel);
        EXPECT_EQ(dialog.run(owner), test.expected);
        EXPECT_EQ(dialog.error(), test.error);
        DestroyWindow(owner);
    }
}

}  // namespace
