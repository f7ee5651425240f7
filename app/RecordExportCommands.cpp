#include "app/RecordExportCommands.h"

#include "app/ExportProgressDialog.h"
#include "archive/FirmwareCodeText.h"
#include "app/MainWindow.h"
#include "archive/FileSystem.h"
#include "archive/RecordCatalog.h"
#include "export/FrameOverlay.h"
#include "export/PngEncoder.h"
#include "export/StagedFile.h"
#include "playback/VideoPlayer.h"
#include "resources/resource.h"
#include "ui/MessageBox.h"
#include "base/StringTable.h"

#include <commdlg.h>

#include <memory>

namespace {

constexpr unsigned kWarningCaption = 5005;  // "警告"
const wchar_t* const kEventFile = L"Video.dvt";

std::wstring nameOf(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring withoutExtension(const std::wstring& name) { return name.substr(0, name.find_last_of(L'.')); }

// Writes bytes under path through a temporary file; false with the reason in error.
bool writeStaged(const std::wstring& path, const void* bytes, std::size_t size, std::wstring& error) {
    StagedFile staged(path);
    return staged.write(bytes, size, error) && staged.commit(error);
}

}  // namespace

bool RecordExportCommands::handles(WORD command) {
    return command == IDC_MENU_EXPORT_VIDEO || command == IDC_MENU_SAVE_PICTURE || command == IDC_MENU_EXPORT_TELEMETRY ||
           command == IDC_MENU_EXPORT_OVERLAY;
}

void RecordExportCommands::run(WORD command) {
    switch (command) {
    case IDC_MENU_EXPORT_VIDEO: exportVideo(); break;
    case IDC_MENU_SAVE_PICTURE: savePicture(); break;
    case IDC_MENU_EXPORT_TELEMETRY: exportTelemetry(); break;
    case IDC_MENU_EXPORT_OVERLAY: overlay = !overlay; break;
    default: break;
    }
}

void RecordExportCommands::updateMenu(HMENU menu) const {
    const bool loaded = window.isDataLoaded();
    const bool moving = loaded && window.displayMode() != kDisplayImage;
    const VideoPlayer* player = window.videoPlayer();
    const auto enable = [menu](UINT command, bool on) { EnableMenuItem(menu, command, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED)); };
    enable(IDC_MENU_EXPORT_VIDEO, moving);
    enable(IDC_MENU_EXPORT_TELEMETRY, loaded);
    enable(IDC_MENU_SAVE_PICTURE, player != nullptr && player->hasPicture());
    CheckMenuItem(menu, IDC_MENU_EXPORT_OVERLAY, MF_BYCOMMAND | (overlay ? MF_CHECKED : MF_UNCHECKED));
}

bool RecordExportCommands::currentSource(ExportSource& source) const {
    const VideoPlayer* player = window.videoPlayer();
    if (player == nullptr || !window.isDataLoaded()) return false;
    source.firmware = currentFirmwareCode();
    source.files.clear();
    switch (window.displayMode()) {
    case kDisplayContinuous:
        source.kind = ExportSource::Kind::Continuous;
        for (int chapter = 0; chapter < player->chapterCount(); ++chapter) source.files.push_back(player->chapterPath(chapter));
        break;
    case kDisplayImage:
        source.kind = ExportSource::Kind::Image;
        source.files.push_back(player->imageFile());
        break;
    default:
        source.kind = ExportSource::Kind::Event;
        source.files.push_back(joinPath(window.currentFolder(), kEventFile));
        break;
    }
    return !source.files.empty();
}

std::wstring RecordExportCommands::suggestedName(const std::wstring& extension) const {
    const VideoPlayer* player = window.videoPlayer();
    std::wstring folder = window.currentFolder();
    while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
    if (window.displayMode() == kDisplayImage && player != nullptr) return withoutExtension(nameOf(player->imageFile())) + extension;
    return nameOf(folder) + extension;
}

bool RecordExportCommands::askSavePath(unsigned filterText, const std::wstring& extension, std::wstring& path) const {
    // "AVIファイル (*.avi)" NUL "*.avi" NUL NUL
    std::wstring filter = loadString(filterText);
    filter.push_back(L'\0');
    filter += L"*" + extension;
    filter.push_back(L'\0');
    wchar_t chosen[kMaxPathChars] = {};
    path.copy(chosen, kMaxPathChars - 1);
    const std::wstring defaultExtension = extension.substr(1);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = window.handle();
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = chosen;
    dialog.nMaxFile = kMaxPathChars;
    dialog.lpstrDefExt = defaultExtension.c_str();
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY | OFN_EXPLORER;
    if (!GetSaveFileNameW(&dialog)) return false;
    path = chosen;
    return true;
}

void RecordExportCommands::warn(const std::wstring& text) const {
    showMessageBox(text, loadString(kWarningCaption), MB_OK | MB_ICONWARNING, window.handle());
}

void RecordExportCommands::exportVideo() {
    ExportSource source;
    if (!currentSource(source) || source.kind == ExportSource::Kind::Image) return;
    std::wstring path = suggestedName(L".avi");
    if (!askSavePath(IDS_EXPORT_VIDEO_FILTER, L".avi", path)) return;
    StagedFile staged(path);
    const bool burn = overlay;
    ExportProgressDialog progress(loadString(IDS_EXPORT_VIDEO_PROGRESS), [&](ExportProgress& steps, std::wstring& error) {
        // The overlay's drawing surface belongs to the thread that draws.
        std::unique_ptr<FrameOverlay> burner = burn ? std::make_unique<FrameOverlay>() : nullptr;
        return writeSourceVideo(source, burner.get(), staged.temporaryPath(), steps, error);
    });
    std::wstring error;
    switch (progress.run(window.handle())) {
    case ExportProgressDialog::Done:
        if (!staged.commit(error)) warn(loadString(IDS_EXPORT_FAILED) + L"\n" + error);
        break;
    case ExportProgressDialog::Failed:
        if (!progress.error().empty()) warn(progress.error() + L"\n" + path);
        break;
    case ExportProgressDialog::Cancelled: break;
    }
}

void RecordExportCommands::savePicture() {
    const VideoPlayer* player = window.videoPlayer();
    std::unique_ptr<Image> picture = player != nullptr ? player->shownPicture() : nullptr;
    if (!picture) {
        warn(loadString(IDS_EXPORT_NO_PICTURE));
        return;
    }
    std::wstring path = suggestedName(L".png");
    if (window.displayMode() != kDisplayImage) {
        wchar_t frame[16];
        const int position = player->chapter() * VideoPlayer::kSlotsPerChapter + player->currentFrame();
        swprintf(frame, 16, L"_%04d", position);
        path = withoutExtension(path) + frame + L".png";
    }
    if (!askSavePath(IDS_EXPORT_PICTURE_FILTER, L".png", path)) return;
    const std::vector<std::uint8_t> png = encodePng(*picture);
    std::wstring error;
    if (png.empty() || !writeStaged(path, png.data(), png.size(), error)) warn(loadString(IDS_EXPORT_FAILED) + L"\n" + error);
}

void RecordExportCommands::exportTelemetry() {
    ExportSource source;
    if (!currentSource(source)) return;
    std::wstring path = suggestedName(L".csv");
    if (!askSavePath(IDS_EXPORT_TELEMETRY_FILTER, L".csv", path)) return;
    ExportProgressDialog progress(loadString(IDS_EXPORT_TELEMETRY_PROGRESS), [&](ExportProgress& steps, std::wstring& error) {
        std::string csv;
        return writeSourceTelemetry(source, csv, steps, error) && writeStaged(path, csv.data(), csv.size(), error);
    });
    if (progress.run(window.handle()) == ExportProgressDialog::Failed && !progress.error().empty())
        warn(loadString(IDS_EXPORT_FAILED) + L"\n" + progress.error());
}
