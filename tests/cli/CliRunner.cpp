#include "cli/CliRunner.h"

#include "support/ChildProcess.h"
#include "support/WholeFile.h"

#include <gtest/gtest.h>

namespace {

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
    run.out = readFileText(outPath);
    run.err = readFileText(errPath);
    DeleteFileW(outPath.c_str());
    DeleteFileW(errPath.c_str());
    return run;
}
