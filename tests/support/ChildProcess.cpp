#include "support/ChildProcess.h"

#include "ui/WindowException.h"

namespace {

std::string utf8(const std::wstring& text) {
    int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &out[0], size, nullptr, nullptr);
    return out;
}

}  // namespace

std::string systemErrorDescription(DWORD code) {
    std::string text = utf8(WindowException::systemErrorText(code));
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
    return std::to_string(code) + ": " + text;
}

ChildProcess::ChildProcess(const std::wstring& program, std::wstring commandLine, STARTUPINFOW startup,
                           bool inheritHandles) {
    startup.cb = sizeof startup;
    launched = CreateProcessW(program.empty() ? nullptr : program.c_str(), &commandLine[0], nullptr, nullptr,
                              inheritHandles ? TRUE : FALSE, 0, nullptr, nullptr, &startup, &process) != FALSE;
    if (!launched) {
        DWORD error = GetLastError();
        process = {};
        failureText = "CreateProcessW(" + utf8(commandLine) + ") failed with " + systemErrorDescription(error);
    }
}

ChildProcess::~ChildProcess() {
    if (process.hThread != nullptr) CloseHandle(process.hThread);
    if (process.hProcess != nullptr) CloseHandle(process.hProcess);
}

bool ChildProcess::wait(DWORD timeoutMs, DWORD& exitCode) const {
    if (process.hProcess == nullptr || WaitForSingleObject(process.hProcess, timeoutMs) != WAIT_OBJECT_0) return false;
    return GetExitCodeProcess(process.hProcess, &exitCode) != FALSE;
}

void ChildProcess::terminate() const {
    if (process.hProcess == nullptr) return;
    TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, 10000);
}
