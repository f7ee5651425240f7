#pragma once
// The progress dialog of an export (dialog IDD_EXPORT_PROGRESS): runs one piece of work on a
// worker thread and shows how far it has come, so that the windows keep painting and
// answering; キャンセル asks the work to stop and the dialog closes once it has.
#include "export/ExportSource.h"
#include "ui/Dialog.h"

#include <atomic>
#include <functional>
#include <string>
#include <thread>

class ExportProgressDialog : public Dialog, private ExportProgress {
public:
    // The work runs on the worker thread and must not touch windows; false with a message in
    // error when it failed, with error empty when it stopped because it was asked to.
    using Work = std::function<bool(ExportProgress& progress, std::wstring& error)>;
    enum Outcome { Done = 1, Cancelled, Failed };

    ExportProgressDialog(std::wstring text, Work work);
    ~ExportProgressDialog() override;

    // Shows the dialog modally over owner until the work has ended.
    Outcome run(HWND owner);
    // The work's message when it failed.
    const std::wstring& error() const { return failure; }

    INT_PTR dialogProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    static constexpr UINT kProgressMessage = WM_APP + 1;  // wParam: steps of kSteps done
    static constexpr UINT kFinishedMessage = WM_APP + 2;  // wParam: the Outcome
    static constexpr int kSteps = 1000;

    void onInitDialog();
    void onProgress(int steps);
    void onFinished(Outcome outcome);
    void onCancel();

    void report(std::uint64_t done, std::uint64_t total) override;
    bool cancelled() const override { return stopRequested.load(); }

    std::wstring text;
    Work work;
    std::wstring failure;
    std::thread worker;
    HWND window = nullptr;  // the dialog, for the worker's messages
    std::atomic<bool> stopRequested{false};
    std::atomic<int> lastSteps{-1};
};
