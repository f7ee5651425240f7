#include "cli/CliRunner.h"

#include "support/ChildProcess.h"

#include <gtest/gtest.h>

namespace {

std::string contentOf(const std::wstring& path) {
    std::string text;
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return text;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
    CloseHandle(h);
    return text;
}

HANDLE inheritableFile(const std::wstring& path) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
}

}  // namespace

// The output goes through files, which never block the child however much it writes.
CliResult runCli(const std::wstring& workFolder, const std::wstring& arguments) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring program = self;
    program = program.substr(0, program.find_last_of(L'\\') + 1) + L"scenova-cli.exe";
    std::wstring command = L"\"" + program + L"\" " + arguments;

    std::wstring outPath = workFolder + L"\\out.txt", errPath = workFolder + L"\\err.txt";
    HANDLE out = inheritableFile(outPath), err = inheritableFile(errPath);
    STARTUPINFOW startup{};
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = out;
    startup.hStdError = err;
    CliResult run;
    {
        ChildProcess cli(program, command, startup, true);
        CloseHandle(out);
        CloseHandle(err);
        EXPECT_TRUE(cli.started()) << cli.failure();
        if (!cli.started()) return run;
        // A crashed child can sit in Wine's debugger: a run that does not end is ended here.
        if (!cli.wait(60000, run.exitCode)) {
            ADD_FAILURE() << "scenova-cli.exe did not end within 60 s";
            cli.terminate();
        }
    }
    run.out = contentOf(outPath);
    run.err = contentOf(errPath);
    DeleteFileW(outPath.c_str());
    DeleteFileW(errPath.c_str());
    return run;
}
