#pragma once
// Start-up's check of the Windows version: it warns about a version the program was not
// made for and never stops start-up.
#include <windows.h>

#include <functional>

class OsVersionCheck {
public:
    static constexpr unsigned kUnknownVersionText = 5049;
    static constexpr unsigned kTooOldText = 5051;
    static constexpr unsigned kWarningCaption = 5005;
    static constexpr DWORD kExtendedSize = sizeof(OSVERSIONINFOEXW);  // 284
    static constexpr DWORD kBasicSize = sizeof(OSVERSIONINFOW);       // 276

    // Fills a version record whose size field has been set; false when the system refuses.
    using Query = std::function<bool(OSVERSIONINFOEXW& record)>;

    // Asks for the extended record, then for the basic one; warns with 5049 when neither
    // answers and with 5051 below Windows 2000/XP (major version 5); returns the record as
    // it was answered (zeros when nothing answered).
    static OSVERSIONINFOEXW run(const Query& query);

    // The system's own answer.
    static bool querySystem(OSVERSIONINFOEXW& record);
};
