// jpegDecodes must give exactly the verdict of the whole-size decode, or an export would keep a
// frame the player never shows or drop one it shows. Every frame below goes through both.
#include "playback/decode/ImageDecoder.h"
#include "tools/writer/FrameJpegEncoder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <jpeglib.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Frame {
    std::string name;
    std::vector<std::uint8_t> bytes;
};

// A 48 x 32 picture of diagonal stripes: grey (one component) or progressive colour, the
// forms a recorder's frame does not take but a damaged card may still hold.
std::vector<std::uint8_t> encodeOther(bool grey, bool progressive) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = 48;
    info.image_height = 32;
    info.input_components = grey ? 1 : 3;
    info.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    if (progressive) jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(48 * 3);
    while (info.next_scanline < info.image_height) {
        for (std::size_t i = 0; i < row.size(); ++i) row[i] = static_cast<JSAMPLE>((i * 7 + info.next_scanline * 13) & 0xFF);
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<std::uint8_t> bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}

std::vector<std::uint8_t> claiming(std::uint16_t width, std::uint16_t height) {
    std::vector<std::uint8_t> frame = FrameJpegEncoder::encode(RgbPicture::bands(64, 48, 3));
    EXPECT_TRUE(FrameJpegEncoder::claimSize(frame, width, height));
    return frame;
}

// The first marker FF code in the stream, or its size when there is none.
std::size_t markerAt(const std::vector<std::uint8_t>& bytes, std::uint8_t code) {
    for (std::size_t i = 0; i + 1 < bytes.size(); ++i) {
        if (bytes[i] == 0xFF && bytes[i + 1] == code) return i;
    }
    return bytes.size();
}

// Good frames and every cut, bit flip and crafted change of them.
std::vector<Frame> framesToJudge() {
    const std::vector<Frame> bases = {
        {"recorder frame", FrameJpegEncoder::encode(RgbPicture::bands(64, 48, 1))},
        {"recorder frame of 640 x 480", FrameJpegEncoder::encode(RgbPicture::bands(640, 480, 2), 60)},
        {"grey frame", encodeOther(true, false)},
        {"progressive frame", encodeOther(false, true)},
    };
    std::vector<Frame> frames;
    for (const Frame& base : bases) {
        frames.push_back(base);
        const std::size_t size = base.bytes.size();
        // Every cut of the small frames, some 200 of the big one; a bit flip in every third
        // byte (a flip in the header may make a frame claim a picture of 4096 x 4096 pixels,
        // each of which costs a full decode).
        const std::size_t step = size > 10000 ? size / 200 : 1;
        for (std::size_t length = 0; length < size; length += step) {
            frames.push_back({base.name + " cut to " + std::to_string(length) + " bytes", {base.bytes.begin(), base.bytes.begin() + static_cast<std::ptrdiff_t>(length)}});
        }
        for (std::uint8_t mask : {0x01, 0x80}) {
            for (std::size_t at = mask == 0x01 ? 0 : 1; at < size; at += step * 3) {
                Frame flipped{base.name + " byte " + std::to_string(at) + " xor " + std::to_string(mask), base.bytes};
                flipped.bytes[at] ^= mask;
                frames.push_back(std::move(flipped));
            }
        }
    }
    std::vector<std::uint8_t> frame = bases[0].bytes;
    const std::size_t startOfFrame = markerAt(frame, 0xC0);
    const std::size_t startOfScan = markerAt(frame, 0xDA);
    EXPECT_LT(startOfFrame, startOfScan);
    EXPECT_LT(startOfScan + 40, frame.size());
    auto changed = [&](const char* name, const std::vector<std::uint8_t>& bytes) { frames.push_back({name, bytes}); };
    frames.push_back({"claims 640 x 480 over 64 x 48 data", claiming(640, 480)});
    frames.push_back({"claims 32 x 24 over 64 x 48 data", claiming(32, 24)});
    frames.push_back({"claims 4096 x 4096", claiming(4096, 4096)});
    frames.push_back({"claims 4097 x 48", claiming(4097, 48)});
    frames.push_back({"claims 0 x 48", claiming(0, 48)});
    std::vector<std::uint8_t> bytes = frame;
    bytes[startOfFrame + 1] = 0xC2;
    changed("baseline marked progressive", bytes);
    bytes = frame;
    bytes[startOfFrame + 1] = 0xC9;
    changed("baseline marked arithmetic", bytes);
    bytes = frame;
    bytes[startOfFrame + 9] = 4;  // four components, of which the scan names three
    changed("four components claimed", bytes);
    bytes = frame;
    bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(startOfScan + 40), {0xFF, 0xD9});
    changed("end marker inside the scan", bytes);
    bytes = frame;
    bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(startOfScan + 40), {0xFF, 0xD0});
    changed("stray restart marker inside the scan", bytes);
    bytes = frame;
    bytes.resize(bytes.size() - 2);
    bytes.insert(bytes.end(), 3000, 0x00);
    bytes.insert(bytes.end(), {0xFF, 0xD9});
    changed("zeros before the end marker", bytes);
    return frames;
}

}  // namespace

TEST(JpegVerdict, CheckGivesTheVerdictAndSizeOfTheFullDecode) {
    int decoded = 0;
    int refused = 0;
    for (const Frame& frame : framesToJudge()) {
        const std::unique_ptr<Image> full = decodeJpeg(frame.bytes.data(), frame.bytes.size());
        int width = -1;
        int height = -1;
        const bool decodes = jpegDecodes(frame.bytes.data(), frame.bytes.size(), width, height);
        ASSERT_EQ(decodes, full != nullptr) << frame.name;
        if (!full) {
            ++refused;
            continue;
        }
        ++decoded;
        EXPECT_EQ(width, full->width()) << frame.name;
        EXPECT_EQ(height, full->height()) << frame.name;
    }
    // Both verdicts must occur, or the table proves nothing.
    EXPECT_GT(decoded, 1000);
    EXPECT_GT(refused, 1000);
}
