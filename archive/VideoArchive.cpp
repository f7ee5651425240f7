#include "archive/VideoArchive.h"

#include "playback/ImageDecoder.h"

// Being filled in; the declarations are what other code builds against.
VideoArchive::VideoArchive(FirmwareCode firmwareCode) : firmware(firmwareCode) {}
VideoArchive::~VideoArchive() { close(); }
void VideoArchive::openEventFile(const std::wstring&) {}
void VideoArchive::openChapterFile(const std::wstring&) {}
bool VideoArchive::openImageFolder(const std::wstring&) { return false; }
void VideoArchive::openImageFile(const std::wstring&) {}
void VideoArchive::reopenImage(int) {}
std::unique_ptr<Image> VideoArchive::decodeFrame(int) { return nullptr; }
std::vector<std::uint8_t> VideoArchive::restoreFrameJpeg(int) { return {}; }
void VideoArchive::close() {}
int VideoArchive::countChapterSlots(const std::wstring&) { return 0; }
void VideoArchive::setChapterIndex(int chapter) { currentChapter = chapter; }
void VideoArchive::clearChapterTimeTable() {}
ChapterRow VideoArchive::chapterRow(int chapter, int row) const { return chapterTable.row(chapter, row); }
const FrameRecord* VideoArchive::frameAt(int index) const {
    if (index < 0 || index >= usedSlots) return nullptr;
    return slots[index].get();
}
