#include "app/SdCardRestore.h"

#include "app/DialogMutex.h"
#include "app/FolderDialog.h"
#include "archive/FirmInfo.h"
#include "base/Exception.h"
#include "base/StringTable.h"
#include "ui/MessageBox.h"
#include "ui/WaitCursor.h"

namespace {

constexpr unsigned kWarningCaption = 5005;
constexpr unsigned kQuestionCaption = 5013;
constexpr unsigned kInformationCaption = 5017;
constexpr unsigned kConfirmText = 5061;
constexpr unsigned kKeepSettingsQuestion = 5062;
constexpr unsigned kRestoredText = 5063;
constexpr unsigned kPartlyWrittenText = 5064;
constexpr unsigned kDrivePrompt = 5071;

}  // namespace

SdCardRestore::SdCardRestore(HWND owner) : owner(owner), chooseDrive(&FolderDialog::chooseDrive) {}

SdCardRestore::Outcome SdCardRestore::run(std::wstring& drive) {
    DialogMutex lock(owner);
    if (!chooseDrive(loadString(kDrivePrompt), owner, drive)) return Outcome::Cancelled;
    if (!confirm()) return Outcome::Cancelled;
    SettingsAnswer answer = askAboutSettings();
    if (answer == SettingsAnswer::Cancel) return Outcome::Cancelled;

    WaitCursor waiting;
    bool complete = writeCard(drive, answer);
    report(complete);
    return complete ? Outcome::Restored : Outcome::PartlyWritten;
}

bool SdCardRestore::confirm() const {
    return showMessageBox(loadString(kConfirmText), loadString(kQuestionCaption), MB_OKCANCEL | MB_ICONQUESTION,
                          owner) == IDOK;
}

SdCardRestore::SettingsAnswer SdCardRestore::askAboutSettings() const {
    switch (showMessageBox(loadString(kKeepSettingsQuestion), loadString(kQuestionCaption),
                           MB_YESNOCANCEL | MB_ICONQUESTION, owner)) {
    case IDYES: return SettingsAnswer::Keep;
    case IDNO: return SettingsAnswer::Reset;
    default: return SettingsAnswer::Cancel;  // also a box that could not be shown
    }
}

bool SdCardRestore::writeCard(const std::wstring& folder, SettingsAnswer answer) const {
    bool complete = true;
    // The settings file goes first, so that it stays whatever the later steps do; a failed
    // write leaves the card's old file as it was.
    if (answer == SettingsAnswer::Reset) {
        try {
            FirmInfo::writeDefaultSettingsFile(folder);
        } catch (const Exception&) {
            complete = false;
        }
    }
    // A damaged cabinet stops the step before the viewer is copied. A build that carries no
    // cabinet at all (the recorder's files are not ours to ship) still puts the viewer on the
    // card, and the closing message says that not everything was written.
    bool bundled = cabinet.isBundled();
    try {
        if (bundled) cabinet.expandInto(folder);
        viewer.writeInto(folder);
    } catch (const Exception&) {
        complete = false;
    }
    return complete && bundled;
}

void SdCardRestore::report(bool complete) const {
    if (complete)
        showMessageBox(loadString(kRestoredText), loadString(kInformationCaption), MB_ICONINFORMATION, owner);
    else
        showMessageBox(loadString(kPartlyWrittenText), loadString(kWarningCaption), MB_ICONWARNING, owner);
}
