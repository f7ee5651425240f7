#include "app/OsVersionCheck.h"

#include "base/StringTable.h"
#include "ui/MessageBox.h"

namespace {
void warn(unsigned textId) {
    // Texts are loaded wide: a narrow load through the ANSI code page turns the Japanese
    // text into question marks on any system whose code page is not Japanese.
    showMessageBox(loadString(textId), loadString(OsVersionCheck::kWarningCaption),
                   MB_OK | MB_ICONWARNING | MB_SYSTEMMODAL | MB_TOPMOST, nullptr);
}
}  // namespace

bool OsVersionCheck::querySystem(OSVERSIONINFOEXW& record) {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    return GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&record)) != FALSE;
#pragma GCC diagnostic pop
}

OSVERSIONINFOEXW OsVersionCheck::run(const Query& query) {
    OSVERSIONINFOEXW record = {};
    record.dwOSVersionInfoSize = kExtendedSize;
    bool answered = query(record);
    if (!answered) {
        record = {};
        record.dwOSVersionInfoSize = kBasicSize;
        answered = query(record);
    }
    if (!answered)
        warn(kUnknownVersionText);
    else if (record.dwMajorVersion < 5)
        warn(kTooOldText);
    return record;
}
