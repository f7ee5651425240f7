// scenova-cli export on event files with one crafted frame among good ones: the header of
// that frame's JPEG claims a picture far larger than any recorder makes.
#include "cli/CliRunner.h"
#include "tools/writer/FrameJpegEncoder.h"
#include "tools/writer/RecorderWriter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

constexpr int kFrames = 6;
constexpr int kCraftedFrame = 3;
// Frames 100 ms apart (1 ms late, clear of the slot boundaries) land three event slots
// apart; the two slots after each frame are filled with copies of it.
constexpr int kSlotsPerFrame = 3;

class ExportFolder {
public:
    ExportFolder() {
        folder = std::filesystem::temp_directory_path() /
                 (L"scenova-hostile-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount()));
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    ~ExportFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    std::wstring path() const { return folder.wstring(); }
    std::wstring file(const std::wstring& name) const { return (folder / name).wstring(); }
    bool has(const std::wstring& name) const { return std::filesystem::exists(folder / name); }

private:
    std::filesystem::path folder;
};

RecorderWriter eventFileWithCrafted(std::uint16_t width, std::uint16_t height) {
    RecorderWriter file;
    RecordHeaderFields header;
    header.kindCode = 0x20;
    file.header(header);
    FrameFields lead;
    lead.timeStamp = 900;
    file.videoChunk(lead);
    for (int i = 0; i < kFrames; ++i) {
        FrameFields frame;
        frame.timeStamp = 1000 + (i == 0 ? 0 : 100u * static_cast<std::uint32_t>(i) + 1);
        std::vector<std::uint8_t> payload = file.framePayload(RgbPicture::bands(64, 48, static_cast<std::uint32_t>(i)));
        if (i == kCraftedFrame) {
            EXPECT_TRUE(FrameJpegEncoder::claimSize(payload, width, height));
        }
        file.videoChunkWithPayload(frame, payload);
        file.soundChunk(frame.timeStamp, std::vector<std::uint8_t>(1102, 0x80));
    }
    return file;
}

std::wstring frameName(int slot) {
    wchar_t name[32];
    std::swprintf(name, 32, L"out\\frames\\%04d.jpg", slot);
    return name;
}

TEST(ExportHostileFrames, OversizedFrameIsLeftOutAndTheOthersExported) {
    const struct {
        const char* name;
        std::uint16_t width, height;
    } cases[] = {
        {"32768 x 32768 (32-bit byte size wraps to 0)", 32768, 32768},
        {"30000 x 30000 (byte size beyond 2 GiB)", 30000, 30000},
        {"65500 x 65500 (libjpeg's largest)", 65500, 65500},
        {"65500 x 1", 65500, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ExportFolder folder;
        const std::wstring input = folder.file(L"Video.dvt");
        ASSERT_TRUE(eventFileWithCrafted(c.width, c.height).save(input));

        CliResult run = runCli(folder.path(), L"export " + inQuotes(input) + L" --out " + inQuotes(folder.file(L"out")));

        EXPECT_EQ(run.exitCode, 0u) << run.err;
        EXPECT_EQ(run.err.find("unexpected failure"), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find("JPEG"), std::string::npos) << "libjpeg talked on the console: " << run.err;
        for (int slot = 0; slot < kFrames * kSlotsPerFrame - 2; ++slot) {
            const bool crafted = slot / kSlotsPerFrame == kCraftedFrame;
            EXPECT_EQ(folder.has(frameName(slot)), !crafted) << "slot " << slot;
        }
        EXPECT_TRUE(folder.has(L"out\\sound.wav"));
        EXPECT_TRUE(folder.has(L"out\\telemetry.csv"));
    }
}

}  // namespace
