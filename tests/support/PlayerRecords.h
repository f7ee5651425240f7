#pragma once
// Record folders for the video player's tests, written through the writer of recorder
// files into a fresh temporary folder that is removed again with the object.
#include <cstdint>
#include <functional>
#include <string>

class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::wstring& path() const { return folder; }
    // A subfolder, created.
    std::wstring subfolder(const std::wstring& name) const;

private:
    std::wstring folder;
};

// An event record "Video.dvt" of frames at 30 per second, with sound covering them when
// withSound is set. The frames alternate between two colours.
bool writeEventRecord(const std::wstring& folder, int frames, bool withSound);
// The same without sound, whose recorder confirmed an automatic event at eventSlot.
bool writeEventRecordWithEvent(const std::wstring& folder, int frames, int eventSlot);
// One continuous chapter of frames at 10 per second, without sound.
bool writeChapter(const std::wstring& path, int frames);
// The same with its clock starting at clockBaseMs (slot s at clockBaseMs + 100 s) and each
// slot's speed in km/h.
bool writeChapter(const std::wstring& path, int frames, std::uint32_t clockBaseMs, std::function<int(int slot)> speed);
// One image record (a single still frame) of a solid colour.
bool writeImageRecord(const std::wstring& path, std::uint8_t red, std::uint8_t green, std::uint8_t blue);
