#pragma once
// Starts another program for a test. A start that fails says why in the system's own words,
// so that a failure seen once on a loaded machine can be understood from its log alone.
#include <windows.h>

#include <string>

class ChildProcess {
public:
    // program may be empty (the first word of commandLine names it); std handles are used
    // when startup asks for them with STARTF_USESTDHANDLES.
    ChildProcess(const std::wstring& program, std::wstring commandLine, STARTUPINFOW startup = {},
                 bool inheritHandles = false);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Wine starts a host (Unix) program without a process handle: it cannot be waited for.
    bool started() const { return launched; }
    // Why the start failed: the command, the system's error text and its code (UTF-8).
    const std::string& failure() const { return failureText; }

    // Waits for the end within timeoutMs; true and the exit code when it ended.
    bool wait(DWORD timeoutMs, DWORD& exitCode) const;
    // Ends a child that does not end by itself (a crashed one can sit in Wine's debugger).
    void terminate() const;

private:
    PROCESS_INFORMATION process = {};
    bool launched = false;
    std::string failureText;
};

// "CODE: the system's text" for an error code, in UTF-8 for test messages.
std::string systemErrorDescription(DWORD code);
