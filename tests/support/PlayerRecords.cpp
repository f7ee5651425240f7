#include "support/PlayerRecords.h"

#include "tools/writer/RecorderWriter.h"

#include <windows.h>

#include <functional>
#include <vector>

namespace {

constexpr std::uint32_t kClockBase = 100000;
constexpr int kSampleRate = 11025;
constexpr std::uint32_t kSoundChunkMs = 500;

std::uint32_t slotOffsetMs(int slot, int slotsPerSecond) {
    return static_cast<std::uint32_t>((static_cast<long long>(slot) * 1000 + slotsPerSecond - 1) / slotsPerSecond);
}

struct RecordPlan {
    std::uint8_t kindCode;
    int frames;
    int slotsPerSecond;
    bool withSound;
    std::uint32_t clockBase = kClockBase;
    std::function<int(int slot)> speed = [](int) { return 40; };
    int eventSlot = -1;  // none
};

FrameFields frameAt(int slot, const RecordPlan& plan) {
    FrameFields fields;
    fields.timeStamp = plan.clockBase + slotOffsetMs(slot, plan.slotsPerSecond);
    fields.dateTime = RecorderDateTime{2024, 5, 1, 12, 0, slot / plan.slotsPerSecond % 60};
    fields.speed = plan.speed(slot);
    return fields;
}

RgbPicture frameColour(int slot) {
    return slot % 2 == 0 ? RgbPicture::solid(64, 48, 200, 40, 40) : RgbPicture::solid(64, 48, 40, 40, 200);
}

bool writeRecord(const std::wstring& path, const RecordPlan& plan) {
    const int frames = plan.frames;
    const int slotsPerSecond = plan.slotsPerSecond;
    RecordHeaderFields header;
    header.kindCode = plan.kindCode;
    header.dateTime = RecorderDateTime{2024, 5, 1, 12, 0, 0};
    if (plan.eventSlot >= 0) header.eventTimeStamp = plan.clockBase + slotOffsetMs(plan.eventSlot, slotsPerSecond);
    RecorderWriter file;
    file.header(header);
    FrameFields lead = frameAt(0, plan);
    lead.timeStamp = plan.clockBase - 40;
    file.videoChunk(lead, frameColour(0));
    std::uint32_t lengthMs = slotOffsetMs(frames, slotsPerSecond);
    int slot = 0;
    if (plan.withSound) {
        for (std::uint32_t start = 0; start < lengthMs; start += kSoundChunkMs) {
            std::size_t count = static_cast<std::size_t>(kSoundChunkMs) * kSampleRate / 1000;
            std::vector<std::uint8_t> samples(count);
            for (std::size_t i = 0; i < count; ++i) samples[i] = static_cast<std::uint8_t>(128 + ((i / 20) % 2 ? 20 : -20));
            file.soundChunk(plan.clockBase + start, samples);
            for (; slot < frames && slotOffsetMs(slot, slotsPerSecond) < start + kSoundChunkMs; ++slot)
                file.videoChunk(frameAt(slot, plan), frameColour(slot));
        }
    }
    for (; slot < frames; ++slot) file.videoChunk(frameAt(slot, plan), frameColour(slot));
    return file.save(path);
}

void removeTree(const std::wstring& folder) {
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring full = folder + L"\\" + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                removeTree(full);
            else
                DeleteFileW(full.c_str());
        } while (FindNextFileW(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

}  // namespace

ScratchFolder::ScratchFolder() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    folder = std::wstring(temp) + L"scenova-player-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
             std::to_wstring(GetTickCount());
    CreateDirectoryW(folder.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() {
    removeTree(folder);
}

std::wstring ScratchFolder::subfolder(const std::wstring& name) const {
    std::wstring full = folder + L"\\" + name;
    CreateDirectoryW(full.c_str(), nullptr);
    return full;
}

bool writeEventRecord(const std::wstring& folder, int frames, bool withSound) {
    return writeRecord(folder + L"\\Video.dvt", RecordPlan{0x10, frames, 30, withSound});
}

bool writeEventRecordWithEvent(const std::wstring& folder, int frames, int eventSlot) {
    RecordPlan plan{0x10, frames, 30, false};
    plan.eventSlot = eventSlot;
    return writeRecord(folder + L"\\Video.dvt", plan);
}

bool writeChapter(const std::wstring& path, int frames) {
    return writeRecord(path, RecordPlan{0x19, frames, 10, false});
}

bool writeChapter(const std::wstring& path, int frames, std::uint32_t clockBaseMs, std::function<int(int slot)> speed) {
    RecordPlan plan{0x19, frames, 10, false};
    plan.clockBase = clockBaseMs;
    plan.speed = std::move(speed);
    return writeRecord(path, plan);
}

bool writeImageRecord(const std::wstring& path, std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    RecorderWriter file;
    FrameFields fields = frameAt(0, RecordPlan{0x18, 1, 30, false});
    file.videoChunk(fields, RgbPicture::solid(64, 48, red, green, blue));
    return file.save(path);
}
