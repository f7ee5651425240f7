#include "app/CardDriveChooser.h"

#include "app/FolderDialog.h"
#include "base/StringTable.h"

namespace {
CardDriveChooser::Handler& installedHandler() {
    static CardDriveChooser::Handler handler;
    return handler;
}
}  // namespace

bool CardDriveChooser::choose(unsigned promptId, HWND owner, std::wstring& folder) {
    std::wstring prompt = loadString(promptId);
    const Handler& handler = installedHandler();
    if (handler) return handler(prompt, owner, folder);
    return FolderDialog::chooseDrive(prompt, owner, folder);
}

CardDriveChooser::Handler CardDriveChooser::install(Handler handler) {
    Handler previous = std::move(installedHandler());
    installedHandler() = std::move(handler);
    return previous;
}
