#include "app/ExportProgressDialog.h"

#include "resources/resource.h"

#include <commctrl.h>

ExportProgressDialog::ExportProgressDialog(std::wstring text, Work work)
    : Dialog(IDD_EXPORT_PROGRESS), text(std::move(text)), work(std::move(work)) {}

ExportProgressDialog::~ExportProgressDialog() {
    // The dialog only closes after the work has ended; this covers a dialog never shown.
    stopRequested = true;
    if (worker.joinable()) worker.join();
}

ExportProgressDialog::Outcome ExportProgressDialog::run(HWND owner) {
    const INT_PTR result = showModal(owner);
    if (worker.joinable()) worker.join();
    return result == Done || result == Cancelled ? static_cast<Outcome>(result) : Failed;
}

INT_PTR ExportProgressDialog::dialogProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: onInitDialog(); return TRUE;
    case kProgressMessage: onProgress(static_cast<int>(wParam)); return TRUE;
    case kFinishedMessage: onFinished(static_cast<Outcome>(wParam)); return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) onCancel();
        return TRUE;
    default: return FALSE;
    }
}

void ExportProgressDialog::onInitDialog() {
    window = handle();
    centerOver(window, parent());
    SetDlgItemTextW(window, IDC_EXPORT_PROGRESS_TEXT, text.c_str());
    SendDlgItemMessageW(window, IDC_EXPORT_PROGRESS_BAR, PBM_SETRANGE32, 0, kSteps);
    worker = std::thread([this] {
        std::wstring error;
        const bool done = work(*this, error);
        failure = error;
        // What the worker wrote is the UI thread's once this message arrives.
        const Outcome outcome = done ? Done : (error.empty() && stopRequested.load() ? Cancelled : Failed);
        PostMessageW(window, kFinishedMessage, static_cast<WPARAM>(outcome), 0);
    });
}

void ExportProgressDialog::report(std::uint64_t done, std::uint64_t total) {
    const int steps = total == 0 ? 0 : static_cast<int>(std::min<std::uint64_t>(done, total) * kSteps / total);
    // One message per step at most, however many slots the work reports.
    if (lastSteps.exchange(steps) != steps) PostMessageW(window, kProgressMessage, static_cast<WPARAM>(steps), 0);
}

void ExportProgressDialog::onProgress(int steps) { SendDlgItemMessageW(window, IDC_EXPORT_PROGRESS_BAR, PBM_SETPOS, steps, 0); }

void ExportProgressDialog::onCancel() {
    stopRequested = true;
    EnableWindow(GetDlgItem(window, IDCANCEL), FALSE);
}

void ExportProgressDialog::onFinished(Outcome outcome) {
    if (worker.joinable()) worker.join();
    EndDialog(window, outcome);
}
