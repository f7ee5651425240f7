// seed-corpus OUTDIR: writes the starting inputs of every fuzz target into OUTDIR/TARGET/,
// made with the writer of recorder files: good records of each kind, records with the damage
// cards really show (garbage between chunks, cut files, skip blocks), crafted frame sizes,
// settings files with every key, WAV files as the sound extraction writes them, and JPEG
// streams in the forms libjpeg decodes (colour, grey, progressive). PNG seeds are the skin's
// own pictures, copied by scripts/fuzz.
#include "FuzzInput.h"

#include "archive/FirmInfo.h"
#include "archive/FrameTag.h"
#include "archive/SoundExtractor.h"
#include "tools/writer/FrameJpegEncoder.h"
#include "tools/writer/RecorderWriter.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>

#include <jpeglib.h>

namespace {

using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

fs::path outRoot;

void save(const char* target, const std::string& name, const Bytes& bytes) {
    fs::create_directories(outRoot / target);
    std::ofstream out(outRoot / target / name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        std::cerr << "seed-corpus: cannot write " << (outRoot / target / name) << "\n";
        std::exit(1);
    }
}

Bytes bundle(const std::vector<Bytes>& files) {
    Bytes all;
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (i > 0) all.insert(all.end(), fuzz::kFileSeparator, fuzz::kFileSeparator + fuzz::kFileSeparatorSize);
        all.insert(all.end(), files[i].begin(), files[i].end());
    }
    return all;
}

// A stand-in payload with the frame tag: enough for the grid, never decoded into a picture.
Bytes taggedPayload() {
    Bytes payload(48, 0);
    const FirmwareCode code;
    payload[0] = code.high;
    payload[1] = code.low;
    std::copy(FrameTag::kSignature, FrameTag::kSignature + FrameTag::kSignatureSize, payload.begin() + 2);
    return payload;
}

RecorderDateTime at(int seconds) { return RecorderDateTime{2024, 5, 6, 7, 8 + seconds / 60, seconds % 60}; }

FrameFields frame(std::uint32_t timeStamp, int second, int speed) {
    FrameFields fields;
    fields.timeStamp = timeStamp;
    fields.dateTime = at(second);
    fields.speed = speed;
    fields.gFirst = 0.25 * (second % 5);
    fields.gSecond = -0.5;
    return fields;
}

// A short record: lead frame, then frames with pictures every 100 ms and sound between them.
RecorderWriter shortRecord(std::uint8_t kind, int frames, bool withSound) {
    RecorderWriter file;
    RecordHeaderFields header;
    header.kindCode = kind;
    header.dateTime = at(0);
    header.eventTimeStamp = 10000 + 100u * static_cast<std::uint32_t>(frames / 2);
    header.eventGFirstRaw = 600;
    header.eventSpeed = 40;
    file.header(header);
    file.videoChunk(frame(9900, 0, 40), RgbPicture::bands(32, 24, 0));
    for (int i = 0; i < frames; ++i) {
        const std::uint32_t stamp = 10000 + 100u * static_cast<std::uint32_t>(i);
        file.videoChunk(frame(stamp, i / 10, 40 + i), RgbPicture::bands(32, 24, static_cast<std::uint32_t>(i)));
        if (withSound) file.soundChunk(stamp, Bytes(1102, static_cast<std::uint8_t>(0x80 + i)), 2);
    }
    return file;
}

void eventSeeds() {
    save("event_file", "plain.dvt", shortRecord(0x10, 8, true).bytes());
    save("event_file", "manual-no-sound.dvt", shortRecord(0x20, 5, false).bytes());

    RecorderWriter damaged = shortRecord(0x10, 4, true);
    damaged.garbage(300, 7);
    damaged.videoChunk(frame(10500, 1, 50), RgbPicture::bands(32, 24, 9));
    damaged.soundChunk(10500, Bytes(500, 0x90));
    damaged.truncate(damaged.size() - 200);
    save("event_file", "damaged.dvt", damaged.bytes());

    RecorderWriter skipped;
    RecordHeaderFields header;
    header.protect = true;
    skipped.header(header, 3);
    skipped.videoChunkWithPayload(frame(0, 0, 0), taggedPayload());
    skipped.videoChunk(frame(40, 0, 10), RgbPicture::bands(16, 16, 3));
    save("event_file", "skip-block.dvt", skipped.bytes());

    // The event frame found at slot 358 of 400: the grid moves up by two slots.
    RecorderWriter preRoll;
    header = RecordHeaderFields{};
    header.dateTime = at(5);
    header.eventTimeStamp = 20000 + 358u * 100u / 3u;
    preRoll.header(header);
    preRoll.videoChunkWithPayload(frame(19990, 0, 0), taggedPayload());
    for (int slot = 0; slot < 400; slot += 2) {
        const std::uint32_t stamp = 20000 + static_cast<std::uint32_t>(slot) * 100u / 3u;
        preRoll.videoChunkWithPayload(frame(stamp, slot / 30, slot % 7 == 0 ? 60 : 40), taggedPayload());
    }
    save("event_file", "pre-roll.dvt", preRoll.bytes());

    RecorderWriter crafted = shortRecord(0x10, 3, false);
    Bytes payload = crafted.framePayload(RgbPicture::bands(32, 24, 1));
    FrameJpegEncoder::claimSize(payload, 32768, 32768);
    crafted.videoChunkWithPayload(frame(10300, 0, 40), payload);
    save("event_file", "claimed-32768.dvt", crafted.bytes());
}

void chapterSeeds() {
    std::vector<Bytes> chapters;
    for (int c = 0; c < 3; ++c) {
        RecorderWriter file = shortRecord(0x19, 4 + c, c != 1);
        chapters.push_back(file.bytes());
    }
    save("chapter_file", "three-chapters", bundle(chapters));
    save("chapter_file", "one-chapter", shortRecord(0x19, 6, true).bytes());
    RecorderWriter sparse;
    RecordHeaderFields header;
    header.kindCode = 0x19;
    sparse.header(header);
    sparse.videoChunkWithPayload(frame(0, 0, 0), taggedPayload());
    for (std::uint32_t stamp = 100; stamp < 60000; stamp += 4900)
        sparse.videoChunkWithPayload(frame(stamp, static_cast<int>(stamp / 1000), 30), taggedPayload());
    sparse.soundChunk(200, Bytes(12000, 0x70));
    save("chapter_file", "sparse-minute", sparse.bytes());
}

Bytes imageFile(int second, int seed) {
    RecorderWriter file;
    FrameFields fields = frame(0, second, 20 + second);
    fields.protect = second % 2 == 0;
    file.videoChunk(fields, RgbPicture::bands(24, 16, static_cast<std::uint32_t>(seed)));
    return file.bytes();
}

void imageSeeds() {
    save("image_file", "one-image", imageFile(3, 1));
    save("image_file", "three-images", bundle({imageFile(30, 2), imageFile(10, 3), imageFile(20, 4)}));
    Bytes cut = imageFile(5, 5);
    cut.resize(70);
    save("image_file", "cut-and-whole", bundle({cut, imageFile(6, 6)}));
}

Bytes fileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void settingsSeeds() {
    const fs::path folder = outRoot / "settings-work";
    fs::create_directories(folder);
    FirmInfo::writeDefaultSettingsFile(folder.wstring());
    const Bytes defaults = fileBytes(folder / "DREC.INI");
    save("settings_file", "DREC.INI-default", defaults);

    FirmInfo every;
    every.setDateTime(1715000000);
    every.setThreshold(52);
    every.setOperationBuzzer(1);
    every.setEventBuzzer(2);
    every.setOverwrite(1);
    every.setLateralCorrection(15);
    every.setDirectionAngle(-45);
    const std::wstring path = (folder / "every.ini").wstring();
    every.writeSettingsFile(path, false);
    const Bytes records = fileBytes(path);
    save("settings_file", "DREC.INI-every-key", records);
    Bytes firmware(FirmInfo::kFirmwareInfoPrefixSize, 0x5A);
    firmware.insert(firmware.end(), records.begin(), records.end());
    save("settings_file", "FIRMINFO.DAT", firmware);
    fs::permissions(path, fs::perms::owner_write, fs::perm_options::add);
    fs::permissions(folder / "DREC.INI", fs::perms::owner_write, fs::perm_options::add);
    fs::remove_all(folder);
}

void waveSeeds() {
    Bytes wav = SoundExtractor::header(2000);
    for (int i = 0; i < 2000; ++i) wav.push_back(static_cast<std::uint8_t>(0x80 + (i % 64) - 32));
    save("wave_file", "two-thousand-samples.wav", wav);
    save("wave_file", "empty.wav", SoundExtractor::header(0));
}

// libjpeg straight, for the forms the recorder's encoder never makes.
Bytes encodeJpeg(const RgbPicture& picture, bool grey, bool progressive) {
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* output = nullptr;
    unsigned long outputSize = 0;
    jpeg_mem_dest(&info, &output, &outputSize);
    info.image_width = static_cast<JDIMENSION>(picture.width);
    info.image_height = static_cast<JDIMENSION>(picture.height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    if (grey) jpeg_set_colorspace(&info, JCS_GRAYSCALE);
    if (progressive) jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(picture.rgb.data() + static_cast<std::size_t>(info.next_scanline) * picture.width * 3);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    Bytes bytes(output, output + outputSize);
    jpeg_destroy_compress(&info);
    std::free(output);
    return bytes;
}

void jpegSeeds() {
    save("jpeg_frame", "frame-64x48.jpg", FrameJpegEncoder::encode(RgbPicture::bands(64, 48, 1)));
    save("jpeg_frame", "frame-odd-17x13.jpg", FrameJpegEncoder::encode(RgbPicture::bands(17, 13, 2), 50));
    save("jpeg_frame", "grey-40x30.jpg", encodeJpeg(RgbPicture::bands(40, 30, 3), true, false));
    save("jpeg_frame", "progressive-48x32.jpg", encodeJpeg(RgbPicture::bands(48, 32, 4), false, true));
    Bytes claimed = FrameJpegEncoder::encode(RgbPicture::bands(64, 48, 5));
    FrameJpegEncoder::claimSize(claimed, 65500, 65500);
    save("jpeg_frame", "claimed-65500.jpg", claimed);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: seed-corpus OUTDIR\n";
        return 64;
    }
    outRoot = argv[1];
    eventSeeds();
    chapterSeeds();
    imageSeeds();
    settingsSeeds();
    waveSeeds();
    jpegSeeds();
    return 0;
}
