#include "playback/decode/ImageDecoder.h"
#include "tools/writer/FrameJpegEncoder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <jpeglib.h>

#include <windows.h>
#include <psapi.h>

#include <functional>
#include <vector>

namespace {

// Encodes a picture whose pixel (x, y) (y counted from the top) is given by colourAt, in
// the colour space and component count given.
std::vector<std::uint8_t> encodeJpeg(int width, int height, int components, J_COLOR_SPACE space,
                                     const std::function<void(int x, int y, JSAMPLE* out)>& colourAt,
                                     int quality = 95, bool subsampleChroma = false) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = components;
    info.in_color_space = space;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    // Full-resolution chroma keeps colours of small test areas exact enough to compare.
    if (!subsampleChroma) {
        for (int c = 0; c < info.num_components; ++c) info.comp_info[c].h_samp_factor = info.comp_info[c].v_samp_factor = 1;
    }
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(static_cast<std::size_t>(width * components));
    while (info.next_scanline < info.image_height) {
        for (int x = 0; x < width; ++x) colourAt(x, static_cast<int>(info.next_scanline), &row[static_cast<std::size_t>(x * components)]);
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<std::uint8_t> bytes(buffer, buffer + size);
    free(buffer);
    return bytes;
}

// Top half red, bottom half blue.
std::vector<std::uint8_t> redOverBlue(int width, int height) {
    return encodeJpeg(width, height, 3, JCS_RGB, [height](int, int y, JSAMPLE* out) {
        bool top = y < height / 2;
        out[0] = top ? 255 : 0;
        out[1] = 0;
        out[2] = top ? 0 : 255;
    });
}

const std::uint8_t* pixelAt(const Image& image, int x, int bufferRow) {
    return image.pixels() + (static_cast<std::size_t>(bufferRow) * image.width() + x) * 4;
}

void expectNear(const std::uint8_t* pixel, int blue, int green, int red, const char* where) {
    EXPECT_NEAR(pixel[0], blue, 8) << where;
    EXPECT_NEAR(pixel[1], green, 8) << where;
    EXPECT_NEAR(pixel[2], red, 8) << where;
    EXPECT_EQ(pixel[3], 0) << where;
}

std::size_t privateBytes() {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
    return counters.PrivateUsage;
}

}  // namespace

TEST(JpegDecoder, ColourFrameIsStoredBottomUpInBlueGreenRedZeroOrder) {
    auto bytes = redOverBlue(640, 480);
    auto image = decodeJpeg(bytes.data(), bytes.size());
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width(), 640);
    EXPECT_EQ(image->height(), 480);
    EXPECT_EQ(image->byteSize(), 1228800);
    // The first buffer row is the bottom picture row: blue.
    expectNear(pixelAt(*image, 0, 0), 255, 0, 0, "bottom-left");
    expectNear(pixelAt(*image, 639, 10), 255, 0, 0, "near bottom-right");
    // The last buffer row is the top picture row: red.
    expectNear(pixelAt(*image, 0, 479), 0, 0, 255, "top-left");
    expectNear(pixelAt(*image, 320, 470), 0, 0, 255, "near top-middle");
}

TEST(JpegDecoder, GreyFrameHasEqualChannelsAndZeroFourthByte) {
    auto bytes = encodeJpeg(64, 48, 1, JCS_GRAYSCALE, [](int x, int, JSAMPLE* out) { out[0] = static_cast<JSAMPLE>(x * 4); });
    auto image = decodeJpeg(bytes.data(), bytes.size());
    ASSERT_TRUE(image);
    ASSERT_EQ(image->byteSize(), 64 * 48 * 4);
    for (int i = 0; i < image->byteSize(); i += 4) {
        const std::uint8_t* p = image->pixels() + i;
        ASSERT_EQ(p[0], p[1]) << "pixel " << i / 4;
        ASSERT_EQ(p[1], p[2]) << "pixel " << i / 4;
        ASSERT_EQ(p[3], 0) << "pixel " << i / 4;
    }
    EXPECT_NEAR(pixelAt(*image, 40, 20)[0], 160, 6);
}

TEST(JpegDecoder, OddWidthConvertsExactlyWidthPixelsAndStaysInsideTheBuffer) {
    for (int width : {1, 3, 5, 637}) {
        auto bytes = encodeJpeg(width, 7, 3, JCS_RGB, [](int, int, JSAMPLE* out) {
            out[0] = 10;
            out[1] = 200;
            out[2] = 60;
        });
        auto image = decodeJpeg(bytes.data(), bytes.size());
        ASSERT_TRUE(image) << "width " << width;
        ASSERT_EQ(image->byteSize(), width * 7 * 4) << "width " << width;
        // Every pixel of every row was written (none left at the buffer's initial zero),
        // and rows do not overlap: the last pixel of each row holds the colour too.
        for (int row = 0; row < 7; ++row) {
            expectNear(pixelAt(*image, 0, row), 60, 200, 10, "first pixel");
            expectNear(pixelAt(*image, width - 1, row), 60, 200, 10, "last pixel");
        }
    }
}

TEST(JpegDecoder, UnusableInputGivesNoImage) {
    auto good = redOverBlue(64, 48);
    auto cmyk = encodeJpeg(16, 16, 4, JCS_CMYK, [](int, int, JSAMPLE* out) { out[0] = out[1] = out[2] = out[3] = 100; });
    std::vector<std::uint8_t> garbage(5000, 0x5A);
    // A recorder frame whose header claims another size; the scan data stays that of 64 x 48.
    auto claiming = [](std::uint16_t width, std::uint16_t height) {
        std::vector<std::uint8_t> frame = FrameJpegEncoder::encode(RgbPicture::bands(64, 48, 1));
        EXPECT_TRUE(FrameJpegEncoder::claimSize(frame, width, height));
        return frame;
    };
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
    } cases[] = {
        {"empty", {}},
        {"cut after the header", {good.begin(), good.begin() + 700}},
        {"cut before the end marker", {good.begin(), good.end() - 40}},
        {"only the start marker", {0xFF, 0xD8}},
        {"garbage", garbage},
        {"CMYK", cmyk},
        // Beyond any recorder's or skin's picture: 32-bit byte sizes would wrap or overflow.
        {"claims 32768 x 32768", claiming(32768, 32768)},
        {"claims 30000 x 30000", claiming(30000, 30000)},
        {"claims 65500 x 65500", claiming(65500, 65500)},
        {"claims 4097 x 48", claiming(4097, 48)},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(decodeJpeg(c.bytes.data(), c.bytes.size())) << c.name;
    }
    EXPECT_FALSE(decodeJpeg(nullptr, 100));
}

TEST(JpegDecoder, FailedDecodesLeaveNoAllocationBehind) {
    auto good = redOverBlue(640, 480);
    std::vector<std::uint8_t> cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(good.size() * 3 / 4));
    auto cmyk = encodeJpeg(640, 480, 4, JCS_CMYK, [](int, int, JSAMPLE* out) { out[0] = out[1] = out[2] = out[3] = 7; });
    // Warm up the allocator so that its own growth does not count.
    for (int i = 0; i < 5; ++i) decodeJpeg(cut.data(), cut.size());
    std::size_t before = privateBytes();
    for (int i = 0; i < 300; ++i) {
        ASSERT_FALSE(decodeJpeg(cut.data(), cut.size()));
        ASSERT_FALSE(decodeJpeg(cmyk.data(), cmyk.size()));
    }
    std::size_t after = privateBytes();
    // A leaked pixel buffer would be 1.2 MB a call: 700 MB over the loop.
    EXPECT_LT(after, before + 32 * 1024 * 1024) << "before " << before << " after " << after;
}

TEST(JpegDecoder, ColourPixelsEqualTheLibrarysDefaultRgbOutput) {
    // A busy picture with every chroma combination, so that upsampling and colour
    // conversion are exercised everywhere.
    const int width = 96, height = 40;
    auto bytes = encodeJpeg(width, height, 3, JCS_RGB, [](int x, int y, JSAMPLE* out) {
        out[0] = static_cast<JSAMPLE>(x * 37 + y * 11);
        out[1] = static_cast<JSAMPLE>((x ^ y) * 29);
        out[2] = static_cast<JSAMPLE>(y * 53 - x * 7);
    }, 75, /*subsampleChroma=*/true);  // 4:2:0, as the recorder's frames are
    auto image = decodeJpeg(bytes.data(), bytes.size());
    ASSERT_TRUE(image);

    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    jpeg_start_decompress(&info);
    ASSERT_EQ(info.out_color_space, JCS_RGB);
    std::vector<JSAMPLE> row(static_cast<std::size_t>(width) * 3);
    JSAMPROW rows[1] = {row.data()};
    while (info.output_scanline < info.output_height) {
        const int y = static_cast<int>(info.output_scanline);
        jpeg_read_scanlines(&info, rows, 1);
        const std::uint8_t* ours = pixelAt(*image, 0, height - 1 - y);
        for (int x = 0; x < width; ++x) {
            ASSERT_EQ(ours[x * 4 + 0], row[static_cast<std::size_t>(x * 3 + 2)]) << x << "," << y;
            ASSERT_EQ(ours[x * 4 + 1], row[static_cast<std::size_t>(x * 3 + 1)]) << x << "," << y;
            ASSERT_EQ(ours[x * 4 + 2], row[static_cast<std::size_t>(x * 3 + 0)]) << x << "," << y;
            ASSERT_EQ(ours[x * 4 + 3], 0) << x << "," << y;
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
}
