// Field decoding of record and chunk headers, and the signature search.
#include "archive/RecordKind.h"
#include "archive/RecorderFields.h"
#include "archive/SignatureSearch.h"

#include <gtest/gtest.h>

#include <ctime>
#include <vector>

namespace {

std::tm localCalendar(std::int64_t value) {
    std::tm calendar = {};
    __time64_t time = value;
    _localtime64_s(&calendar, &time);
    return calendar;
}

TEST(RecorderFieldsTest, SignedBcdGValues) {
    struct Case {
        const char* name;
        std::uint8_t bytes[2];
        double expected;
    } cases[] = {
        {"85 00 is -0.5", {0x85, 0x00}, -0.5},
        {"80 00 is 0", {0x80, 0x00}, 0.0},
        {"12 50 is 1.25", {0x12, 0x50}, 1.25},
        {"80 01 is -0.001", {0x80, 0x01}, -0.001},
        {"99 99 is -1.999", {0x99, 0x99}, -1.999},
        {"79 99 is 7.999", {0x79, 0x99}, 7.999},
        {"00 00 is 0", {0x00, 0x00}, 0.0},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(RecorderFields::signedBcdG(c.bytes), c.expected, 1e-9) << c.name;
    }
}

TEST(RecorderFieldsTest, RawGValuesAreClampedToTheSensorRange) {
    struct Case {
        const char* name;
        std::uint16_t raw;
        double expected;
    } cases[] = {
        {"0 means none", 0, 0.0},
        {"100 clamps to 215", 100, (215 - 512) * 0.01468},
        {"1000 clamps to 808", 1000, (808 - 512) * 0.01468},
        {"512 is level", 512, 0.0},
        {"600", 600, 88 * 0.01468},
    };
    for (const Case& c : cases) EXPECT_NEAR(RecorderFields::rawG(c.raw), c.expected, 1e-9) << c.name;
}

TEST(RecorderFieldsTest, SpeedIsBcdCappedAt180) {
    struct Case {
        const char* name;
        std::uint8_t bytes[2];
        int expected;
    } cases[] = {
        {"60", {0x00, 0x60}, 60},
        {"179", {0x01, 0x79}, 179},
        {"180", {0x01, 0x80}, 180},
        {"200", {0x02, 0x00}, 180},
        {"9999", {0x99, 0x99}, 180},
        {"nibble above 9 taken as it stands", {0x00, 0x1A}, 20},
    };
    for (const Case& c : cases) EXPECT_EQ(RecorderFields::speed(c.bytes), c.expected) << c.name;
}

TEST(RecorderFieldsTest, KindCodes) {
    struct Case {
        std::uint8_t code;
        int kind;
    } cases[] = {{0x10, RecordKind::AutoEvent},  {0x20, RecordKind::ManualEvent}, {0x18, RecordKind::Image},
                 {0x19, RecordKind::Continuous}, {0x00, RecordKind::NoDetection}, {0x11, RecordKind::NoDetection},
                 {0xFF, RecordKind::NoDetection}};
    for (const Case& c : cases) EXPECT_EQ(RecorderFields::recordKind(c.code), c.kind) << "code " << int(c.code);
}

TEST(RecorderFieldsTest, ValidDatesSurviveTheRoundTripThroughLocalTime) {
    const std::uint8_t bytes[6] = {0x24, 0x02, 0x29, 0x23, 0x59, 0x58};  // 2024-02-29 23:59:58
    std::int64_t value = RecorderFields::dateTime(bytes);
    ASSERT_NE(value, 0);
    std::tm calendar = localCalendar(value);
    EXPECT_EQ(calendar.tm_year, 124);
    EXPECT_EQ(calendar.tm_mon, 1);
    EXPECT_EQ(calendar.tm_mday, 29);
    EXPECT_EQ(calendar.tm_hour, 23);
    EXPECT_EQ(calendar.tm_min, 59);
    EXPECT_EQ(calendar.tm_sec, 58);
}

TEST(RecorderFieldsTest, CalendarTimesThatDoNotExistAreUnknown) {
    struct Case {
        const char* name;
        std::uint8_t bytes[6];
    } cases[] = {
        {"30 February", {0x24, 0x02, 0x30, 0x12, 0x00, 0x00}},
        {"29 February of a common year", {0x23, 0x02, 0x29, 0x12, 0x00, 0x00}},
        {"month 13", {0x24, 0x13, 0x01, 0x12, 0x00, 0x00}},
        {"month 0", {0x24, 0x00, 0x01, 0x12, 0x00, 0x00}},
        {"day 0", {0x24, 0x01, 0x00, 0x12, 0x00, 0x00}},
        {"hour 24", {0x24, 0x01, 0x01, 0x24, 0x00, 0x00}},
        {"minute 60", {0x24, 0x01, 0x01, 0x12, 0x60, 0x00}},
        {"all bytes FF", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
    };
    for (const Case& c : cases) EXPECT_EQ(RecorderFields::dateTime(c.bytes), 0) << c.name;
}

TEST(RecorderFieldsTest, ChunkHeaderFieldsAtTheirOffsets) {
    std::uint8_t header[64] = {};
    const std::uint8_t fields[] = {
        0x00, 0x00, 0x12, 0x34,  // 0: payload size 0x1234
        0x00, 0x01, 0x00, 0x00,  // 4: time stamp 65536
        0x00, 0x00, 0x00, 0x20,  // 8: sound byte count 32
        0x55,                    // 12: video
    };
    std::copy(std::begin(fields), std::end(fields), header);
    header[32] = 7;                                   // serial, first part
    header[33] = 0x12; header[34] = 0x34;             // serial, second part, BCD
    const std::uint8_t date[6] = {0x24, 0x05, 0x10, 0x08, 0x30, 0x00};
    std::copy(std::begin(date), std::end(date), header + 36);
    header[42] = 0x03; header[43] = 0x00;             // G first axis 0.3
    header[44] = 0x84; header[45] = 0x00;             // G second axis -0.4
    header[46] = 0x00; header[47] = 0x55;             // 55 km/h
    header[48] = 0x00; header[49] = 0x00; header[50] = 0x01; header[51] = 0x23;  // auxiliary value 1: 123
    header[59] = 0xAB; header[60] = 0xCD;             // auxiliary word
    header[61] = 0x03;                                // protect bit and another bit

    FrameRecord record = RecorderFields::fromChunkHeader(header);
    EXPECT_EQ(record.payloadSize, 0x1234);
    EXPECT_EQ(record.timeStamp, 65536u);
    EXPECT_EQ(record.soundByteCount, 32u);
    EXPECT_EQ(record.chunkType, 0x55);
    EXPECT_EQ(record.serialFirst, 7);
    EXPECT_EQ(record.serialSecond, 1234);
    EXPECT_EQ(record.dateTime, RecorderFields::dateTime(date));
    EXPECT_NE(record.dateTime, 0);
    EXPECT_NEAR(record.gFirst, 0.3, 1e-9);
    EXPECT_NEAR(record.gSecond, -0.4, 1e-9);
    EXPECT_NEAR(record.gMagnitude, 0.5, 1e-9);
    EXPECT_EQ(record.speed, 55);
    EXPECT_EQ(record.auxiliaryValue1, 123);
    EXPECT_EQ(record.auxiliaryWord, 0xABCD);
    EXPECT_EQ(record.auxiliaryByte, 0xCD);
    EXPECT_EQ(record.protectMark, 1);
}

TEST(RecorderFieldsTest, NegativePayloadSizeStaysNegative) {
    std::uint8_t header[64] = {0xFF, 0xFF, 0xFF, 0xF0};
    EXPECT_EQ(RecorderFields::payloadSize(header), -16);
}

TEST(SignatureSearchTest, FindsTheLeftmostSignature) {
    const std::vector<std::uint8_t> signature = {'K', 'O', 'R', 'V', 'A', 'N', 'E', '-', 'L', 'A', 'B', '.', 0, 0};
    struct Case {
        const char* name;
        std::vector<std::size_t> placed;  // offsets where a signature is written
        std::size_t length;
        std::ptrdiff_t expected;
    } cases[] = {
        {"at the start", {0}, 100, 0},
        {"in the middle", {37}, 100, 37},
        {"at the very end", {86}, 100, 86},
        {"two: the left one", {70, 20}, 100, 20},
        {"none", {}, 100, -1},
        {"cut by the window end", {90}, 100, -1},
        {"window shorter than the signature", {}, 13, -1},
    };
    SignatureSearch search;
    for (const Case& c : cases) {
        std::vector<std::uint8_t> bytes(c.length, 'L');
        for (std::size_t at : c.placed) {
            for (std::size_t i = 0; i < signature.size() && at + i < bytes.size(); ++i) bytes[at + i] = signature[i];
        }
        EXPECT_EQ(search.find(bytes.data(), bytes.size()), c.expected) << c.name;
    }
}

TEST(SignatureSearchTest, NearMissesAreNotSignatures) {
    std::vector<std::uint8_t> bytes = {'K', 'O', 'R', 'V', 'A', 'N', 'E', '-', 'L', 'A', 'B', '.', 0, 1,
                                       'K', 'O', 'R', 'V', 'A', 'N', 'E', '-', 'L', 'A', 'B', ',', 0, 0,
                                       'k', 'O', 'R', 'V', 'A', 'N', 'E', '-', 'L', 'A', 'B', '.', 0, 0,
                                       'K', 'O', 'R', 'V', 'A', 'N', 'E', '-', 'L', 'A', 'B', '.', 0, 0};
    EXPECT_EQ(SignatureSearch().find(bytes.data(), bytes.size()), 42);
}

}  // namespace
