#include "tools/probe/ProcessCounters.h"

#include <psapi.h>
#include <winternl.h>

#include <cstdint>
#include <vector>

namespace {

// The 64-bit process environment block keeps the address of the GDI handle table here.
constexpr std::size_t kPebGdiTableOffset = 0xF8;
constexpr std::size_t kGdiTableEntries = 0x10000;

// One entry of the GDI handle table as the 64-bit system lays it out (24 bytes).
#pragma pack(push, 1)
struct GdiTableEntry {
    std::uint64_t object;
    std::uint32_t owner;
    std::uint8_t extTypeAndStock;  // bit 7: a stock object, shared by every process
    std::uint8_t generation;
    std::uint8_t type;              // 0: a free entry
    std::uint8_t flags;
    std::uint64_t userPointer;
};
#pragma pack(pop)
static_assert(sizeof(GdiTableEntry) == 24, "GDI handle table entry");

// One handle of the system's handle list (SystemHandleInformation, class 16), 64-bit layout.
struct SystemHandle {
    std::uint32_t ownerProcessId;
    std::uint8_t objectType;
    std::uint8_t flags;
    std::uint16_t value;
    std::uint64_t object;
    std::uint32_t access;
    std::uint32_t padding;
};
static_assert(sizeof(SystemHandle) == 24, "system handle entry");
constexpr std::size_t kSystemHandlesOffset = 8;  // after the count, aligned
constexpr SYSTEM_INFORMATION_CLASS kSystemHandleInformation = static_cast<SYSTEM_INFORMATION_CLASS>(16);
constexpr NTSTATUS kInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004L);

// The 64-bit VM_COUNTERS_EX: VM_COUNTERS and the private bytes after it.
struct VmCountersEx {
    VM_COUNTERS counters;
    SIZE_T privateUsage;
};

using QuerySystemInformation = NTSTATUS(NTAPI*)(SYSTEM_INFORMATION_CLASS, PVOID, ULONG, PULONG);
using QueryProcessInformation = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);

template <typename Function>
Function ntdllFunction(const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), name)));
}

struct WindowCount {
    DWORD processId;
    DWORD count = 0;
};

BOOL CALLBACK countChild(HWND window, LPARAM data) {
    auto* windows = reinterpret_cast<WindowCount*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == windows->processId) ++windows->count;
    return TRUE;
}

BOOL CALLBACK countTopLevel(HWND window, LPARAM data) {
    countChild(window, data);
    EnumChildWindows(window, &countChild, data);
    return TRUE;
}

}  // namespace

ProcessCounters::ProcessCounters(DWORD processId)
    : id(processId), process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | SYNCHRONIZE, FALSE, processId)) {}

ProcessCounters::~ProcessCounters() {
    if (process != nullptr) CloseHandle(process);
}

bool ProcessCounters::ended() const {
    return process == nullptr || WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
}

bool ProcessCounters::read(CounterSample& sample) {
    if (ended()) return false;
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof memory;
    if (!GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory)) return false;
    sample.workingSetBytes = memory.WorkingSetSize;
    sample.peakWorkingSetBytes = memory.PeakWorkingSetSize;
    sample.privateBytes = memory.PrivateUsage;
    if (sample.privateBytes == 0) {
        // Some systems fill PrivateUsage only when asked for the extended counters directly.
        auto query = ntdllFunction<QueryProcessInformation>("NtQueryInformationProcess");
        VmCountersEx extended = {};
        if (query != nullptr && query(process, ProcessVmCounters, &extended, sizeof extended, nullptr) == 0)
            sample.privateBytes = extended.privateUsage;
    }
    sample.handles = handleCount();
    sample.gdiObjects = gdiObjectCount();
    sample.userObjects = userObjectCount();
    return !ended();
}

std::string ProcessCounters::sources() const {
    return std::string("handles: ") + handleSource + "; GDI objects: " + gdiSource + "; USER objects: " + userSource;
}

DWORD ProcessCounters::handleCount() {
    DWORD count = 0;
    // A live process always holds handles: 0 means the call only pretends to answer.
    if (GetProcessHandleCount(process, &count) && count > 0) {
        handleSource = "GetProcessHandleCount";
        return count;
    }
    // The system's list of every open handle, counted for this process.
    handleSource = "the system's handle list (NtQuerySystemInformation)";
    auto query = ntdllFunction<QuerySystemInformation>("NtQuerySystemInformation");
    if (query == nullptr) return 0;
    std::vector<std::uint8_t> buffer(1 << 20);
    NTSTATUS status;
    while ((status = query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), nullptr)) ==
               kInfoLengthMismatch &&
           buffer.size() < (256u << 20))
        buffer.resize(buffer.size() * 2);
    if (status != 0) return 0;
    ULONG total = *reinterpret_cast<const ULONG*>(buffer.data());
    if (total > (buffer.size() - kSystemHandlesOffset) / sizeof(SystemHandle)) return 0;
    auto* handles = reinterpret_cast<const SystemHandle*>(buffer.data() + kSystemHandlesOffset);
    DWORD mine = 0;
    for (ULONG i = 0; i < total; ++i)
        if (handles[i].ownerProcessId == id) ++mine;
    return mine;
}

DWORD ProcessCounters::gdiObjectCount() {
    SetLastError(ERROR_SUCCESS);
    DWORD count = GetGuiResources(process, GR_GDIOBJECTS);
    if (count > 0 || GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) {
        gdiSource = "GetGuiResources";
        return count;
    }
    // The process's own GDI handle table, found through its environment block: the entries
    // in use that are not the stock objects every process shares.
    gdiSource = "the process's GDI handle table (its PEB)";
    auto query = ntdllFunction<QueryProcessInformation>("NtQueryInformationProcess");
    PROCESS_BASIC_INFORMATION basic = {};
    if (query == nullptr || query(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0) return 0;
    std::uint64_t table = 0;
    SIZE_T got = 0;
    auto* tableField = static_cast<const std::uint8_t*>(static_cast<const void*>(basic.PebBaseAddress)) + kPebGdiTableOffset;
    if (!ReadProcessMemory(process, tableField, &table, sizeof table, &got) || got != sizeof table || table == 0) return 0;
    std::vector<GdiTableEntry> entries(kGdiTableEntries);
    if (!ReadProcessMemory(process, reinterpret_cast<const void*>(static_cast<std::uintptr_t>(table)), entries.data(),
                           entries.size() * sizeof(GdiTableEntry), &got))
        return 0;
    DWORD used = 0;
    for (std::size_t i = 0; i < got / sizeof(GdiTableEntry); ++i)
        if (entries[i].type != 0 && !(entries[i].extTypeAndStock & 0x80)) ++used;
    return used;
}

DWORD ProcessCounters::userObjectCount() {
    SetLastError(ERROR_SUCCESS);
    DWORD count = GetGuiResources(process, GR_USEROBJECTS);
    if (count > 0 || GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) {
        userSource = "GetGuiResources";
        return count;
    }
    // The windows the process owns, message-only ones included: the bulk of its USER objects.
    userSource = "the process's windows (EnumWindows, message-only windows included)";
    WindowCount windows{id};
    EnumWindows(&countTopLevel, reinterpret_cast<LPARAM>(&windows));
    for (HWND window = nullptr; (window = FindWindowExW(HWND_MESSAGE, window, nullptr, nullptr)) != nullptr;)
        countChild(window, reinterpret_cast<LPARAM>(&windows));
    return windows.count;
}
