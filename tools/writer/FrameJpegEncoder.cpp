#include "tools/writer/FrameJpegEncoder.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include <jpeglib.h>

namespace {

struct ErrorJump {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void jumpOut(j_common_ptr info) { std::longjmp(reinterpret_cast<ErrorJump*>(info->err)->jump, 1); }

constexpr std::uint8_t kMarker = 0xFF;
constexpr std::uint8_t kStartOfImage = 0xD8;
constexpr std::uint8_t kStartOfScan = 0xDA;
constexpr std::uint8_t kDefineHuffmanTable = 0xC4;
constexpr std::uint8_t kStartOfFrameBaseline = 0xC0;
constexpr std::size_t kFrameHeightOffset = 5;  // after the marker and the segment length, the precision
constexpr std::size_t kRecorderHuffmanSegment = 418;

// libjpeg's own stream: SOI, DQT, SOF0, one DHT segment per table, SOS and the scan.
std::vector<std::uint8_t> compress(const RgbPicture& picture, int quality) {
    jpeg_compress_struct info;
    ErrorJump error;
    unsigned char* output = nullptr;
    unsigned long outputSize = 0;
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = jumpOut;
    if (setjmp(error.jump)) {
        jpeg_destroy_compress(&info);
        std::free(output);
        throw std::runtime_error("libjpeg could not encode the frame");
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &output, &outputSize);
    info.image_width = static_cast<JDIMENSION>(picture.width);
    info.image_height = static_cast<JDIMENSION>(picture.height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    info.write_JFIF_header = FALSE;
    info.optimize_coding = FALSE;  // the standard tables, as the recorder uses
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(picture.rgb.data() + static_cast<std::size_t>(info.next_scanline) *
                                                                      picture.width * 3);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    std::vector<std::uint8_t> bytes(output, output + outputSize);
    jpeg_destroy_compress(&info);
    std::free(output);
    return bytes;
}

}  // namespace

std::vector<std::uint8_t> FrameJpegEncoder::encode(const RgbPicture& picture, int quality) {
    if (picture.width <= 0 || picture.height <= 0 ||
        picture.rgb.size() < static_cast<std::size_t>(picture.width) * picture.height * 3) {
        throw std::runtime_error("picture without pixels");
    }
    std::vector<std::uint8_t> jpeg = compress(picture, quality);
    if (jpeg.size() < 4 || jpeg[0] != kMarker || jpeg[1] != kStartOfImage) throw std::runtime_error("no SOI");

    // Gather the tables into one segment right after SOI, the other segments after it.
    std::vector<std::uint8_t> tables;
    std::vector<std::uint8_t> others;
    std::size_t at = 2;
    while (at + 4 <= jpeg.size() && jpeg[at] == kMarker && jpeg[at + 1] != kStartOfScan) {
        std::size_t length = (static_cast<std::size_t>(jpeg[at + 2]) << 8) | jpeg[at + 3];
        if (length < 2 || at + 2 + length > jpeg.size()) throw std::runtime_error("bad segment");
        if (jpeg[at + 1] == kDefineHuffmanTable) {
            tables.insert(tables.end(), jpeg.begin() + at + 4, jpeg.begin() + at + 2 + length);
        } else {
            others.insert(others.end(), jpeg.begin() + at, jpeg.begin() + at + 2 + length);
        }
        at += 2 + length;
    }
    std::size_t segmentLength = tables.size() + 2;
    if (segmentLength != kRecorderHuffmanSegment) throw std::runtime_error("not the four standard tables");

    std::vector<std::uint8_t> out;
    out.reserve(jpeg.size() + 8);
    for (std::uint8_t byte : {kMarker, kStartOfImage, kMarker, kDefineHuffmanTable}) out.push_back(byte);
    out.push_back(static_cast<std::uint8_t>(segmentLength >> 8));
    out.push_back(static_cast<std::uint8_t>(segmentLength));
    out.insert(out.end(), tables.begin(), tables.end());
    out.insert(out.end(), others.begin(), others.end());
    out.insert(out.end(), jpeg.begin() + at, jpeg.end());
    return out;
}

bool FrameJpegEncoder::claimSize(std::vector<std::uint8_t>& stream, std::uint16_t width, std::uint16_t height) {
    // The recorder's tables segment follows SOI (or the tag standing in for both); the
    // frame header is among the segments after it.
    std::size_t at = 2 + 2 + kRecorderHuffmanSegment;
    while (at + 4 <= stream.size() && stream[at] == kMarker && stream[at + 1] != kStartOfScan) {
        const std::size_t length = (static_cast<std::size_t>(stream[at + 2]) << 8) | stream[at + 3];
        if (stream[at + 1] == kStartOfFrameBaseline && at + kFrameHeightOffset + 4 <= stream.size()) {
            std::uint8_t* size = &stream[at + kFrameHeightOffset];
            size[0] = static_cast<std::uint8_t>(height >> 8);
            size[1] = static_cast<std::uint8_t>(height);
            size[2] = static_cast<std::uint8_t>(width >> 8);
            size[3] = static_cast<std::uint8_t>(width);
            return true;
        }
        at += 2 + length;
    }
    return false;
}
