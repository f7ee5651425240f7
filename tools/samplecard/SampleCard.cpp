#include "tools/samplecard/SampleCard.h"

#include "archive/FileSystem.h"
#include "tools/samplecard/CalendarTime.h"
#include "tools/samplecard/DriveProfile.h"
#include "tools/samplecard/RecordingBuilder.h"
#include "tools/samplecard/RoadScene.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cwchar>
#include <iterator>
#include <vector>

namespace {

constexpr double kPreRollSeconds = 12.0;   // the recorder keeps 12 s before the event
constexpr double kEventSeconds = 30.0;
constexpr double kDetectionThresholdG = 0.45;
constexpr int kImageCount = 36;
constexpr double kChapterSeconds[] = {60.0, 60.0, 25.0};

RecorderDateTime at(int year, int month, int day, int hour, int minute, int second) {
    return RecorderDateTime{year, month, day, hour, minute, second};
}

// Cruising, a bend, then a hard stop for something in the road; moving off again later.
DriveProfile hardBrakeDrive() {
    DriveProfile drive(46.0);
    drive.phase(3.0, 0.35).phase(4.0, 0.0, 0.18).phase(5.5, 0.0).phase(2.6, -7.2).phase(7.0, 0.0)
        .phase(5.0, 1.6).phase(8.0, 0.3);
    return drive;
}

// Town driving; the driver presses the record button while slowing down.
DriveProfile townDrive() {
    DriveProfile drive(34.0);
    drive.phase(4.0, 0.4).phase(6.0, 0.0, -0.2).phase(6.0, -0.8).phase(6.0, 0.6, 0.1).phase(12.0, 0.0);
    return drive;
}

// A swerve around an obstacle at speed, braking through it.
DriveProfile swerveDrive() {
    DriveProfile drive(58.0);
    drive.phase(14.0, 0.1).phase(1.0, -3.5, 0.55).phase(1.0, -3.0, -0.5).phase(1.5, -2.0, 0.1)
        .phase(10.0, 0.5).phase(8.0, 0.0);
    return drive;
}

// Two and a half minutes through town: pulling away, bends, a red light, a faster road.
DriveProfile commuteDrive() {
    DriveProfile drive(0.0);
    drive.phase(3.0, 0.0).phase(8.0, 1.4).phase(20.0, 0.0, 0.1).phase(10.0, 0.0, -0.15).phase(6.0, -1.8)
        .phase(18.0, 0.0).phase(10.0, 1.5).phase(25.0, 0.0, 0.12).phase(15.0, 0.0).phase(8.0, -1.0)
        .phase(25.0, 0.2);
    return drive;
}

// The frame at which the recorder's sensor reading first reaches the detection threshold.
double detectionMoment(const DriveProfile& drive) {
    const double frame = 1.0 / 30.0;
    double moment = std::round(drive.firstExceeding(kDetectionThresholdG, 5.0) / frame) * frame;
    while (moment < drive.duration() &&
           std::fabs(RecordingBuilder::sensorLongitudinal(drive, moment)) < kDetectionThresholdG &&
           std::fabs(RecordingBuilder::sensorLateral(drive, moment)) < kDetectionThresholdG) {
        moment += frame;
    }
    return moment;
}

}  // namespace

bool SampleCard::write() {
    return makeFolder(root) && writeSettingsFiles() && writeEvents() && writeImages() && writeContinuous();
}

bool SampleCard::fail(const std::wstring& what) {
    std::fprintf(stderr, "scenova-samplecard: cannot write %ls\n", what.c_str());
    return false;
}

bool SampleCard::makeFolder(const std::wstring& path) {
    if (CreateDirectoryW(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS) return true;
    return fail(path);
}

bool SampleCard::writeBytes(const std::wstring& path, const void* bytes, std::size_t size) {
    std::unique_ptr<File> file = FileSystem::real().open(path, FileMode::WriteBinary);
    if (!file || file->write(bytes, size) != size || !file->close()) return fail(path);
    return true;
}

bool SampleCard::writeEvents() {
    struct EventRecord {
        const wchar_t* folder;
        DriveProfile drive;
        std::uint8_t kindCode;
        bool protect;
        double eventAt;  // negative: found where the G first passes the detection threshold
        RecorderDateTime driveStart;
        std::uint32_t clock;
        const char* label;
    };
    const EventRecord events[] = {
        {L"EVT00001", hardBrakeDrive(), 0x10, false, -1.0, at(2026, 11, 21, 8, 12, 40), 1843200, "AUTO EVENT"},
        {L"EVT00002", townDrive(), 0x20, false, 13.0, at(2026, 11, 21, 8, 31, 5), 2954100, "MANUAL"},
        {L"EVT00003", swerveDrive(), 0x10, true, -1.0, at(2026, 11, 21, 9, 2, 18), 4780350, "PROTECTED"},
    };
    const std::wstring parent = joinPath(root, L"EVENT");
    if (!makeFolder(parent)) return false;
    for (const EventRecord& event : events) {
        const double eventAt = event.eventAt >= 0 ? event.eventAt : detectionMoment(event.drive);
        RecordingPlan plan;
        plan.kindCode = event.kindCode;
        plan.driveStart = event.driveStart;
        plan.from = eventAt - kPreRollSeconds;
        plan.seconds = kEventSeconds;
        plan.slotsPerSecond = 30;
        plan.eventAt = eventAt;
        plan.protect = event.protect;
        plan.clockBase = event.clock;
        plan.label = event.label;
        std::string title(event.folder, event.folder + wcslen(event.folder));
        plan.frameTitle = title;
        const std::wstring folder = joinPath(parent, event.folder);
        if (!makeFolder(folder)) return false;
        const std::wstring path = joinPath(folder, L"Video.dvt");
        if (!RecordingBuilder::write(event.drive, plan, path)) return fail(path);
        // The recorder's index of the event; nothing reads its content.
        const char marker[] = "VIDEOINF";
        if (!writeBytes(joinPath(folder, L"VideoInf.dat"), marker, sizeof marker - 1)) return false;
        std::fprintf(stderr, "scenova-samplecard: %ls\n", path.c_str());
    }
    return true;
}

bool SampleCard::writeContinuous() {
    const DriveProfile drive = commuteDrive();
    const std::wstring folder = joinPath(joinPath(root, L"CONTINUE"), L"CNT00001");
    if (!makeFolder(joinPath(root, L"CONTINUE")) || !makeFolder(folder)) return false;
    double from = 0;
    std::uint32_t clock = 6120000;
    for (std::size_t chapter = 0; chapter < std::size(kChapterSeconds); ++chapter) {
        RecordingPlan plan;
        plan.kindCode = 0x19;
        plan.driveStart = at(2026, 11, 21, 9, 40, 0);
        plan.from = from;
        plan.seconds = kChapterSeconds[chapter];
        plan.slotsPerSecond = 10;
        plan.clockBase = clock;
        char title[16];
        std::snprintf(title, sizeof title, "CH%02d", static_cast<int>(chapter));
        plan.frameTitle = title;
        wchar_t name[16];
        std::swprintf(name, 16, L"Video%04d.dmv", static_cast<int>(chapter));
        const std::wstring path = joinPath(folder, name);
        if (!RecordingBuilder::write(drive, plan, path)) return fail(path);
        std::fprintf(stderr, "scenova-samplecard: %ls\n", path.c_str());
        from += plan.seconds;
        clock += static_cast<std::uint32_t>(plan.seconds * 1000);
    }
    return true;
}

bool SampleCard::writeImages() {
    const DriveProfile drive = commuteDrive();
    const std::wstring folder = joinPath(joinPath(root, L"IMAGE"), L"IMG00001");
    if (!makeFolder(joinPath(root, L"IMAGE")) || !makeFolder(folder)) return false;
    const RecorderDateTime first = at(2026, 11, 21, 10, 5, 0);
    for (int i = 0; i < kImageCount; ++i) {
        // A still every few minutes, taken at varied moments of a drive.
        const double moment = std::fmod(7.0 + i * 4.3, drive.duration() - 1.0);
        const DriveSample motion = drive.at(moment);
        const RecorderDateTime taken = CalendarTime::addSeconds(first, i * 437L);
        SceneOverlay overlay;
        overlay.dateTime = CalendarTime::format(taken);
        char detail[64];
        std::snprintf(detail, sizeof detail, "PHOTO %02d/%02d %3dKM/H", i + 1, kImageCount,
                      static_cast<int>(std::lround(motion.speedKmh)));
        overlay.detail = detail;
        FrameFields fields;
        fields.timeStamp = 7200000 + static_cast<std::uint32_t>(i) * 437000;
        fields.dateTime = taken;
        fields.gFirst = RecordingBuilder::sensorLateral(drive, moment);
        fields.gSecond = RecordingBuilder::sensorLongitudinal(drive, moment);
        fields.speed = static_cast<int>(std::lround(motion.speedKmh));
        RecorderWriter file;
        file.videoChunkWithPayload(fields, RecordingBuilder::framePayload(RoadScene::render(motion, overlay)));
        wchar_t name[16];
        std::swprintf(name, 16, L"IMG%05d.dpc", i + 1);
        const std::wstring path = joinPath(folder, name);
        if (!file.save(path)) return fail(path);
    }
    std::fprintf(stderr, "scenova-samplecard: %ls (%d stills)\n", folder.c_str(), kImageCount);
    return true;
}

bool SampleCard::writeSettingsFiles() {
    // DREC.INI as the viewer's card restore writes it: the header record, then operation
    // buzzer 0, threshold 0.45 G and the three companion values. Each record ends in the XOR
    // of its bytes (bytes 1 to 6 for the header).
    const std::uint8_t settings[] = {
        0x00, 0x01, 0x03, 0x12, 0xFF, 0xFF, 0xFF, 0xEF,  // header, firmware code 03 12
        0x03, 0x01, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x02,  // operation buzzer: normal
        0x08, 0x01, 0x00, 0x45, 0xFF, 0xFF, 0xFF, 0xB3,  // threshold 45 (0.45 G)
        0x08, 0x02, 0x01, 0x00, 0xFF, 0xFF, 0xFF, 0xF4,  // companion 0100
        0x08, 0x03, 0x02, 0x00, 0xFF, 0xFF, 0xFF, 0xF6,  // companion 0200
        0x08, 0x04, 0x00, 0x40, 0xFF, 0xFF, 0xFF, 0xB3,  // companion 0040
    };
    if (!writeBytes(joinPath(root, L"DREC.INI"), settings, sizeof settings)) return false;

    // FIRMINFO.DAT: a 16-byte prefix, then what the recorder runs with, in the same records.
    struct Record {
        std::uint16_t key;
        std::uint8_t value[5];
    };
    const Record running[] = {
        {0x0801, {0x00, 0x50, 0xFF, 0xFF, 0xFF}},  // threshold 0.50 G
        {0x0811, {0x00, 0x12, 0xFF, 0xFF, 0xFF}},  // lateral correction 0.12 G
        {0x0812, {0x01, 0x05, 0xFF, 0xFF, 0xFF}},  // mounted 5 degrees to the left (-5)
        {0x1801, {0x01, 0xFF, 0xFF, 0xFF, 0xFF}},  // continuous records overwrite
        {0x0301, {0x00, 0xFF, 0xFF, 0xFF, 0xFF}},  // operation buzzer normal
        {0x0304, {0x01, 0xFF, 0xFF, 0xFF, 0xFF}},  // event buzzer loud
    };
    std::vector<std::uint8_t> info = {'Z', 'R', '-', '0', '7', ' ', 'F', 'W', ' ', '1', '.', '2', '0', 0, 0, 0};
    const std::uint8_t header[8] = {0x00, 0x01, 0x03, 0x12, 0xFF, 0xFF, 0xFF, 0xEF};
    info.insert(info.end(), header, header + 8);
    for (const Record& record : running) {
        std::uint8_t bytes[8] = {static_cast<std::uint8_t>(record.key >> 8), static_cast<std::uint8_t>(record.key)};
        std::copy(record.value, record.value + 5, bytes + 2);
        bytes[7] = 0;
        for (int i = 0; i < 7; ++i) bytes[7] ^= bytes[i];
        info.insert(info.end(), bytes, bytes + 8);
    }
    return writeBytes(joinPath(root, L"FIRMINFO.DAT"), info.data(), info.size());
}
