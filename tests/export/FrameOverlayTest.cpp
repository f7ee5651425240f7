// The telemetry burned into exported frames, and the re-encoding that keeps the recorder's
// quantisation.
#include "export/FrameOverlay.h"
#include "export/JpegEncoder.h"
#include "playback/decode/ImageDecoder.h"

#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <vector>

namespace {

std::int64_t localTime(int year, int month, int day, int hour, int minute, int second) {
    std::tm fields{};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    fields.tm_isdst = -1;
    return _mktime64(&fields);
}

TEST(FrameOverlayTest, TextShowsDateTimeSpeedAndG) {
    FrameRecord driving;
    driving.dateTime = localTime(2026, 12, 8, 9, 41, 7);
    driving.speed = 62;
    driving.gFirst = 0.4;
    driving.gSecond = -0.21;
    driving.gMagnitude = 0.452;
    FrameRecord unknownTime = driving;
    unknownTime.dateTime = 0;
    FrameRecord standing;
    standing.dateTime = driving.dateTime;
    const struct {
        const char* name;
        const FrameRecord* record;
        const wchar_t* expected;
    } cases[] = {
        {"driving", &driving, L"2026/12/08 09:41:07   62 km/h  G 0.45 (+0.40 -0.21)"},
        {"unknown time", &unknownTime, L"----/--/-- --:--:--   62 km/h  G 0.45 (+0.40 -0.21)"},
        {"standing", &standing, L"2026/12/08 09:41:07    0 km/h  G 0.00 (+0.00 +0.00)"},
        {"no record", nullptr, L"----/--/-- --:--:--    - km/h  G ----"},
    };
    for (const auto& test : cases) EXPECT_EQ(FrameOverlay::text(test.record), test.expected) << test.name;
}

TEST(FrameOverlayTest, DrawsOnlyInTheBandAtTheBottom) {
    Image picture(640, 480);
    for (int i = 0; i < picture.byteSize(); ++i) picture.pixels()[i] = 0x80;
    FrameRecord record;
    record.speed = 88;
    FrameOverlay overlay;
    ASSERT_TRUE(overlay.draw(picture, &record));

    const int band = FrameOverlay::bandHeight(480);
    EXPECT_GE(band, 24) << "legible on 480 lines";
    EXPECT_LT(band, 48);
    int bright = 0;
    int dark = 0;
    for (int row = 0; row < picture.height(); ++row) {
        const std::uint8_t* pixel = picture.bufferRow(row);
        for (int x = 0; x < picture.width(); ++x, pixel += 4) {
            if (row >= band) {
                ASSERT_EQ(pixel[1], 0x80) << "row " << row << " above the band is untouched";
            } else if (pixel[1] > 0xC0) {
                ++bright;
            } else if (pixel[1] < 0x40) {
                ++dark;
            }
        }
    }
    EXPECT_GT(bright, 1000) << "white text";
    EXPECT_GT(dark, 640 * band / 2) << "a darkened band behind it";
}

std::vector<std::uint8_t> quantisationSegments(const std::vector<std::uint8_t>& jpeg) {
    std::vector<std::uint8_t> tables;
    for (std::size_t at = 2; at + 4 <= jpeg.size() && jpeg[at] == 0xFF;) {
        const std::size_t length = static_cast<std::size_t>(jpeg[at + 2] << 8 | jpeg[at + 3]);
        if (jpeg[at + 1] == 0xDB) tables.insert(tables.end(), jpeg.begin() + static_cast<long>(at), jpeg.begin() + static_cast<long>(at + 2 + length));
        if (jpeg[at + 1] == 0xDA) break;
        at += 2 + length;
    }
    return tables;
}

TEST(FrameOverlayTest, ReEncodingKeepsTheModelsQuantisation) {
    Image picture(64, 48);
    for (int i = 0; i < picture.byteSize(); ++i) picture.pixels()[i] = static_cast<std::uint8_t>(i * 7);
    const std::vector<std::uint8_t> model = JpegEncoder::encode(picture, 40);
    const std::vector<std::uint8_t> again = JpegEncoder::encodeLike(picture, model.data(), model.size());
    ASSERT_FALSE(quantisationSegments(model).empty());
    EXPECT_EQ(quantisationSegments(again), quantisationSegments(model));
    EXPECT_NE(quantisationSegments(JpegEncoder::encode(picture, JpegEncoder::kFallbackQuality)), quantisationSegments(model));

    const std::vector<std::uint8_t> notJpeg(100, 0x55);
    const std::vector<std::uint8_t> fallback = JpegEncoder::encodeLike(picture, notJpeg.data(), notJpeg.size());
    EXPECT_EQ(quantisationSegments(fallback), quantisationSegments(JpegEncoder::encode(picture, JpegEncoder::kFallbackQuality)));
    ASSERT_NE(decodeJpeg(fallback.data(), fallback.size()), nullptr);
}

}  // namespace
