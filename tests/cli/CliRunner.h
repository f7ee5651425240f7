#pragma once
// Runs the built scenova-cli.exe beside the test program, as the user runs it, and keeps
// what it printed.
#include <windows.h>

#include <string>

struct CliResult {
    DWORD exitCode = 0;
    std::string out;
    std::string err;
};

// workFolder receives the two files that catch the child's output (removed afterwards).
CliResult runCli(const std::wstring& workFolder, const std::wstring& arguments);

inline std::wstring inQuotes(const std::wstring& path) { return L"\"" + path + L"\""; }
