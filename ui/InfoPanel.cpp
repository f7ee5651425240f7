#include "ui/InfoPanel.h"

#include "archive/RecordCatalog.h"
#include "archive/RecordKind.h"
#include "base/StringTable.h"
#include "ui/DoubleBuffer.h"
#include "ui/GdiScope.h"
#include "ui/PanelReadings.h"

#include <cwchar>

namespace {

constexpr int kBackgroundId = 10026;
constexpr int kNoDetectionLabelId = 287;
constexpr int kAutoEventLabelId = 288;
constexpr int kManualEventLabelId = 286;
constexpr int kImageLabelId = 430;
constexpr int kContinuousLabelId = 429;
constexpr int kProtectIconId = 408;
constexpr int kDateFirstDigitId = 225;
constexpr int kDateDashId = 235;
constexpr int kDateSlashId = 224;
constexpr int kTimeFirstDigitId = 251;
constexpr int kTimeDashId = 250;
constexpr int kTimeColonId = 261;
constexpr unsigned kInformationMissingText = 5025;

constexpr COLORREF kMissingTextColour = RGB(0, 0, 255);
constexpr RECT kMissingTextPlace = {35, 15, 170, 105};
constexpr POINT kDatePlace = {38, 34};
constexpr POINT kTimePlace = {38, 84};
constexpr POINT kLabelPlace = {21, 123};
constexpr POINT kProtectPlace = {145, 133};

const wchar_t* const kNoDate = L"----/--/--";
const wchar_t* const kNoTime = L"--:--:--";

}  // namespace

bool InfoPanel::Content::operator==(const Content& other) const {
    return informationMissing == other.informationMissing && date == other.date && time == other.time &&
           kind == other.kind && protectedRecord == other.protectedRecord;
}

InfoPanel::InfoPanel(HWND parent, const IPanelSource& source)
    : source(source),
      background(AlphaImage::fromResource(kBackgroundId)),
      noDetectionLabel(AlphaImage::fromResource(kNoDetectionLabelId)),
      autoEventLabel(AlphaImage::fromResource(kAutoEventLabelId)),
      manualEventLabel(AlphaImage::fromResource(kManualEventLabelId)),
      imageLabel(AlphaImage::fromResource(kImageLabelId)),
      continuousLabel(AlphaImage::fromResource(kContinuousLabelId)),
      protectIcon(AlphaImage::fromResource(kProtectIconId)),
      dateGlyphs(kDateFirstDigitId, L"-/", {kDateDashId, kDateSlashId}),
      timeGlyphs(kTimeFirstDigitId, L"-:", {kTimeDashId, kTimeColonId}) {
    WindowCreateParams params = childParams(parent, 0, 0, 0, 0);
    params.extendedStyle = WS_EX_CONTROLPARENT;
    params.style |= WS_CLIPCHILDREN;
    create(params);
}

LRESULT InfoPanel::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: onEraseBackground(reinterpret_cast<HDC>(wParam)); return 1;
    case WM_PAINT: onPaint(); return 0;
    case WM_PRINTCLIENT: return 0;  // everything was drawn by the erase before it
    case WM_SIZE: return 0;
    default: return Window::handleMessage(message, wParam, lParam);
    }
}

void InfoPanel::refresh() {
    if (!drawn || contentNow() != shown) repaint();
}

void InfoPanel::repaint() {
    InvalidateRect(handle(), nullptr, TRUE);
}

InfoPanel::Content InfoPanel::contentNow() const {
    Content content;
    const IVideoInfo* info = source.frameInfo();
    if (info == nullptr) {
        content.date = kNoDate;
        content.time = kNoTime;
        return content;
    }
    if (info->informationMissing()) {
        content.informationMissing = true;
        return content;
    }

    // Event records show when the event happened; continuous records keep the start of
    // the recording for the whole chapter, however far it has played.
    int mode = source.displayMode();
    const FrameRecord* sample = eventSample(*info);
    std::int64_t eventTime = sample != nullptr ? sample->dateTime : 0;
    std::int64_t shownTime = eventTime;
    if (mode == kDisplayContinuous)
        shownTime = info->recordTime();
    else if (mode == kDisplayEvent && eventTime == 0)
        shownTime = info->recordTime();

    std::tm calendar = {};
    bool converted = localCalendar(shownTime, calendar);
    if (converted && (mode == kDisplayEvent || shownTime != 0)) {
        wchar_t text[32];
        std::swprintf(text, 32, L"%04d/%02d/%02d", calendar.tm_year + 1900, calendar.tm_mon + 1, calendar.tm_mday);
        content.date = text;
        std::swprintf(text, 32, L"%02d:%02d:%02d", calendar.tm_hour, calendar.tm_min, calendar.tm_sec);
        content.time = text;
    } else if (mode != kDisplayEvent) {
        content.date = kNoDate;
        content.time = kNoTime;
    }

    int kind = info->recordKind();
    if (kindLabel(kind) != nullptr) content.kind = kind;
    content.protectedRecord = source.recordProtected();
    return content;
}

void InfoPanel::onEraseBackground(HDC dc) {
    Content content = contentNow();
    RECT client;
    GetClientRect(handle(), &client);
    DoubleBuffer buffer(dc, client.right, client.bottom);
    draw(buffer.dc(), content);
    if (!drawn || content != shown) SetWindowTextW(handle(), spokenText(content).c_str());
    shown = content;
    drawn = true;
}

std::wstring InfoPanel::spokenText(const Content& content) {
    if (content.informationMissing) return loadString(kInformationMissingText);
    if (content.date.empty()) return content.time;
    return content.time.empty() ? content.date : content.date + L" " + content.time;
}

void InfoPanel::onPaint() {
    PaintScope validate(handle());
}

void InfoPanel::draw(HDC dc, const Content& content) {
    if (background->empty()) {
        RECT client;
        GetClientRect(handle(), &client);
        FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    } else {
        background->draw(dc, 0, 0);
    }
    if (content.informationMissing) {
        std::wstring text = loadString(kInformationMissingText);
        RECT place = kMissingTextPlace;
        COLORREF oldColour = SetTextColor(dc, kMissingTextColour);
        int oldMode = SetBkMode(dc, TRANSPARENT);
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &place, DT_WORDBREAK);
        SetBkMode(dc, oldMode);
        SetTextColor(dc, oldColour);
        return;
    }
    dateGlyphs.drawRun(dc, kDatePlace.x, kDatePlace.y, content.date);
    timeGlyphs.drawRun(dc, kTimePlace.x, kTimePlace.y, content.time);
    if (const AlphaImage* label = kindLabel(content.kind)) label->draw(dc, kLabelPlace.x, kLabelPlace.y);
    if (content.protectedRecord) protectIcon->draw(dc, kProtectPlace.x, kProtectPlace.y);
}

const AlphaImage* InfoPanel::kindLabel(int kind) const {
    switch (kind) {
    case RecordKind::NoDetection: return noDetectionLabel.get();
    case RecordKind::AutoEvent: return autoEventLabel.get();
    case RecordKind::ManualEvent: return manualEventLabel.get();
    case RecordKind::Image: return imageLabel.get();
    case RecordKind::Continuous: return continuousLabel.get();
    default: return nullptr;
    }
}
