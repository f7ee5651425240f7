#include "export/FrameOverlay.h"

#include <algorithm>
#include <cstring>
#include <ctime>
#include <cwchar>

namespace {

// One line of text a twenty-fourth of the picture high: 20 pixels on 480 lines, where the
// widest line (49 half-width characters of 10 pixels) fits in 640 columns.
constexpr int kLinesPerTextHeight = 24;
constexpr int kMinTextHeight = 12;
// A fixed-pitch face keeps the figures from shifting from frame to frame; Windows in Japan
// always has it.
const wchar_t* const kFaceName = L"MS Gothic";

}  // namespace

FrameOverlay::FrameOverlay() = default;

FrameOverlay::~FrameOverlay() { release(); }

void FrameOverlay::release() {
    if (dc != nullptr) {
        if (originalFont != nullptr) SelectObject(dc, originalFont);
        if (originalBitmap != nullptr) SelectObject(dc, originalBitmap);
        DeleteDC(dc);
    }
    if (font != nullptr) DeleteObject(font);
    if (bitmap != nullptr) DeleteObject(bitmap);
    dc = nullptr;
    bitmap = nullptr;
    font = nullptr;
    originalBitmap = originalFont = nullptr;
    bits = nullptr;
    width = height = 0;
}

int FrameOverlay::bandHeight(int pictureHeight) {
    const int text = std::max(kMinTextHeight, pictureHeight / kLinesPerTextHeight);
    return text + text / 2;
}

bool FrameOverlay::prepare(int pictureWidth, int pictureHeight) {
    if (dc != nullptr && width == pictureWidth && height == pictureHeight) return true;
    release();
    dc = CreateCompatibleDC(nullptr);
    if (dc == nullptr) return false;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = pictureWidth;
    info.bmiHeader.biHeight = pictureHeight;  // bottom-up, as Image keeps its rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const int textHeight = std::max(kMinTextHeight, pictureHeight / kLinesPerTextHeight);
    font = CreateFontW(-textHeight, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, FIXED_PITCH | FF_MODERN, kFaceName);
    if (bitmap == nullptr || bits == nullptr || font == nullptr) {
        release();
        return false;
    }
    originalBitmap = SelectObject(dc, bitmap);
    originalFont = SelectObject(dc, font);
    width = pictureWidth;
    height = pictureHeight;
    return true;
}

bool FrameOverlay::draw(Image& picture, const FrameRecord* record) {
    if (picture.width() <= 0 || picture.height() <= 0 || !prepare(picture.width(), picture.height())) return false;
    const std::size_t rowBytes = static_cast<std::size_t>(picture.width()) * 4;
    auto* pixels = static_cast<std::uint8_t*>(bits);
    std::memcpy(pixels, picture.pixels(), rowBytes * static_cast<std::size_t>(picture.height()));

    // The band: the bottom rows, which come first in a bottom-up picture.
    const int band = std::min(bandHeight(picture.height()), picture.height());
    for (std::size_t i = 0; i < rowBytes * static_cast<std::size_t>(band); ++i)
        pixels[i] = static_cast<std::uint8_t>(pixels[i] * kBandKeep / 256);

    const std::wstring line = text(record);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    RECT place{band / 3, picture.height() - band, picture.width(), picture.height()};
    DrawTextW(dc, line.c_str(), static_cast<int>(line.size()), &place, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    GdiFlush();
    std::memcpy(picture.pixels(), pixels, rowBytes * static_cast<std::size_t>(picture.height()));
    return true;
}

std::wstring FrameOverlay::text(const FrameRecord* record) {
    wchar_t when[32] = L"----/--/-- --:--:--";
    wchar_t rest[64] = L"  - km/h  G ----";
    if (record != nullptr) {
        const __time64_t seconds = record->dateTime;
        std::tm local{};
        if (record->dateTime != 0 && _localtime64_s(&local, &seconds) == 0)
            std::swprintf(when, 32, L"%04d/%02d/%02d %02d:%02d:%02d", local.tm_year + 1900, local.tm_mon + 1,
                          local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
        std::swprintf(rest, 64, L"%3d km/h  G %4.2f (%+.2f %+.2f)", record->speed, record->gMagnitude, record->gFirst,
                      record->gSecond);
    }
    return std::wstring(when) + L"  " + rest;
}
