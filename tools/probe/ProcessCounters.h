#pragma once
// Reads what another process holds of the system: memory, kernel handles, GDI and USER
// objects. The documented calls come first (GetProcessMemoryInfo, GetProcessHandleCount,
// GetGuiResources); where the system leaves one unimplemented (Wine 8 answers 0 for the
// handle count and "not implemented" for the GUI resources) the figure comes from the
// system's process list, the process's own GDI handle table, or its windows, and sources()
// says so.
#include <windows.h>

#include <string>

struct CounterSample {
    SIZE_T workingSetBytes = 0;
    SIZE_T peakWorkingSetBytes = 0;
    SIZE_T privateBytes = 0;
    DWORD handles = 0;
    DWORD gdiObjects = 0;
    DWORD userObjects = 0;
};

class ProcessCounters {
public:
    // Opens the process for queries and memory reads; ok() tells whether that worked.
    explicit ProcessCounters(DWORD processId);
    ~ProcessCounters();
    ProcessCounters(const ProcessCounters&) = delete;
    ProcessCounters& operator=(const ProcessCounters&) = delete;

    bool ok() const { return process != nullptr; }
    bool ended() const;
    // False when the process has ended or cannot be read.
    bool read(CounterSample& sample);
    // Where the handle, GDI and USER figures came from, once read() has run.
    std::string sources() const;

private:
    DWORD handleCount();
    DWORD gdiObjectCount();
    DWORD userObjectCount();

    DWORD id;
    HANDLE process = nullptr;
    const char* handleSource = "";
    const char* gdiSource = "";
    const char* userSource = "";
};
