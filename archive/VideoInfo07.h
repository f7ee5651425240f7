#pragma once
// IVideoInfo over a VideoArchive. It keeps no state of its own: every query reads the
// archive at the moment of the call, so a view made before a chapter change sees the new
// chapter. It does not own the archive and must not outlive it.
#include "archive/IVideoInfo.h"

class VideoArchive;

class VideoInfo07 : public IVideoInfo {
public:
    explicit VideoInfo07(const VideoArchive& archive) : archive(&archive) {}
    VideoInfo07(const VideoInfo07&) = delete;
    VideoInfo07& operator=(const VideoInfo07&) = delete;

    std::wstring formatIdentifier() const override { return L"0000"; }
    std::wstring longFormatIdentifier() const override { return L"00000000"; }
    int recordKind() const override;
    int eventIndex() const override;
    const FrameRecord* eventFrame() const override;
    double eventGFirst() const override;
    double eventGSecond() const override;
    int slotCount() const override;
    const FrameRecord* frameAt(int index) const override;
    int slotsPerPicture() const override { return 1; }
    bool informationMissing() const override { return false; }
    std::int64_t firstTime() const override;
    std::int64_t lastTime() const override;
    std::int64_t recordTime() const override;

private:
    const VideoArchive* archive;
};
