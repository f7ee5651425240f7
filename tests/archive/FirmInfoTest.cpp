// Reading, encoding and writing of the recorder's settings records on a real folder.
#include "archive/FirmInfo.h"

#include "base/Exception.h"
#include "support/SettingsTestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ctime>
#include <functional>
#include <limits>

using namespace settings_test;

namespace {

const std::wstring kUnreadable = L"設定ファイルを読み込めません。";
const std::wstring kOutOfRange = L"日時が有効な範囲にありません。";
constexpr FirmwareCode kCode;  // 03 12

Bytes prefix16() { return Bytes(16, 0xA5); }

struct ReadCase {
    const char* name;
    bool firmwareInfo;  // FIRMINFO.DAT form: 16-byte prefix first
    Bytes file;
    bool readable;
    std::vector<std::uint16_t> keys;  // the records kept, in order
};

TEST(FirmInfoRead, TakesOnlyTheRecorderFamilysValidRecords) {
    std::vector<ReadCase> cases = {
        {"default settings file", false,
         join({headerRecord(), dataRecord(0x0301, {0x00}), dataRecord(0x0801, {0x00, 0x45})}), true, {0x0301, 0x0801}},
        {"another firmware code", false, join({headerRecord(0x03, 0x13), dataRecord(0x0301, {0x00})}), false, {}},
        {"firmware information with code 03 13", true, join({prefix16(), headerRecord(0x03, 0x13)}), false, {}},
        {"empty file", false, {}, false, {}},
        {"header cut short", false, Bytes{0x00, 0x01, 0x03, 0x12, 0xFF, 0xFF, 0xFF}, false, {}},
        {"header check wrong", false, [] { Bytes h = headerRecord(); h[7] ^= 1; return h; }(), false, {}},
        {"header mark wrong", false, [] { Bytes h = headerRecord(); h[0] = 0x01; return h; }(), false, {}},
        {"damaged record in the middle", false,
         join({headerRecord(), dataRecord(0x0301, {0x01}), [] { Bytes r = dataRecord(0x0304, {0x02}); r[3] ^= 0x40; return r; }(),
               dataRecord(0x1801, {0x01})}),
         true, {0x0301, 0x1801}},
        {"trailing partial record", false, join({headerRecord(), dataRecord(0x0801, {0x00, 0x50}), Bytes{0x08, 0x11, 0x00}}),
         true, {0x0801}},
        {"duplicate keys stay", false, join({headerRecord(), dataRecord(0x0301, {0x01}), dataRecord(0x0301, {0x02})}), true,
         {0x0301, 0x0301}},
        {"firmware information of 24 bytes", true, join({prefix16(), headerRecord()}), true, {}},
        {"firmware information, any prefix", true, join({Bytes(16, 0x00), headerRecord(), dataRecord(0x0811, {0x00, 0x10})}),
         true, {0x0811}},
        {"firmware information, prefix cut short", true, Bytes(15, 0x00), false, {}},
        {"firmware information read as settings file", false, join({prefix16(), headerRecord()}), false, {}},
    };
    ScratchFolder folder;
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::wstring path = folder.write(c.firmwareInfo ? L"FIRMINFO.DAT" : L"DREC.INI", c.file);
        FirmInfo settings(kCode);
        settings.setOverwrite(1);  // what a failed read must leave in place
        try {
            c.firmwareInfo ? settings.readFirmwareInfoFile(path) : settings.readSettingsFile(path);
            EXPECT_TRUE(c.readable);
            std::vector<std::uint16_t> keys;
            for (int i = 0; i < settings.recordCount(); ++i) keys.push_back(settings.keyAt(i));
            EXPECT_EQ(keys, c.keys);
        } catch (const FirmInfoException& e) {
            EXPECT_FALSE(c.readable);
            EXPECT_EQ(e.message(), kUnreadable);
            EXPECT_EQ(settings.recordCount(), 1);
            EXPECT_TRUE(settings.contains(kKeyOverwrite));
        }
    }
}

TEST(FirmInfoRead, MissingFileIsUnreadable) {
    ScratchFolder folder;
    FirmInfo settings(kCode);
    for (bool firmwareInfo : {false, true}) {
        SCOPED_TRACE(firmwareInfo ? "FIRMINFO.DAT" : "DREC.INI");
        try {
            firmwareInfo ? settings.readFirmwareInfoFile(folder.file(L"FIRMINFO.DAT"))
                         : settings.readSettingsFile(folder.file(L"DREC.INI"));
            ADD_FAILURE() << "a missing file was read";
        } catch (const FirmInfoException& e) {
            EXPECT_EQ(e.message(), kUnreadable);
        }
    }
}

TEST(FirmInfoRead, KeepsAtMost78RecordsAndFindsTheFirstOfDuplicates) {
    Bytes file = headerRecord();
    for (int i = 0; i < 80; ++i) {
        Bytes r = dataRecord(0x2000, {static_cast<std::uint8_t>(i)});
        file.insert(file.end(), r.begin(), r.end());
    }
    ScratchFolder folder;
    FirmInfo settings(kCode);
    settings.readSettingsFile(folder.write(L"DREC.INI", file));
    EXPECT_EQ(settings.recordCount(), 78);
    EXPECT_EQ(settings.find(0x2000)[0], 0x00);
    EXPECT_EQ(settings.valueAt(77)[0], 77);
}

TEST(FirmInfoRecords, MissingKeyAnd79thRecordThrowWithoutText) {
    FirmInfo settings(kCode);
    try {
        settings.find(kKeyThreshold);
        ADD_FAILURE() << "find of a missing key returned";
    } catch (const FirmInfoException& e) {
        EXPECT_EQ(e.message(), L"");
    }
    for (std::uint16_t key = 0; key < 78; ++key) settings.findOrAdd(static_cast<std::uint16_t>(0x4000 + key));
    EXPECT_EQ(settings.findOrAdd(0x4000)[0], 0xFF);  // an existing key adds nothing
    try {
        settings.findOrAdd(0x5000);
        ADD_FAILURE() << "a 79th record was added";
    } catch (const FirmInfoException& e) {
        EXPECT_EQ(e.message(), L"");
    }
    EXPECT_EQ(settings.recordCount(), 78);
}

struct EncodeCase {
    const char* name;
    std::function<void(FirmInfo&)> set;
    std::uint16_t key;
    FirmInfo::Value value;
};

TEST(FirmInfoRecords, SettersStorePackedBcd) {
    std::vector<EncodeCase> cases = {
        {"threshold 45", [](FirmInfo& s) { s.setThreshold(45); }, kKeyThreshold, {0x00, 0x45, 0xFF, 0xFF, 0xFF}},
        {"threshold companion 1", [](FirmInfo& s) { s.setThreshold(60); }, 0x0802, {0x10, 0xFF, 0xFF, 0xFF, 0xFF}},
        {"threshold companion 2", [](FirmInfo& s) { s.setThreshold(60); }, 0x0803, {0x20, 0xFF, 0xFF, 0xFF, 0xFF}},
        {"threshold companion 3", [](FirmInfo& s) { s.setThreshold(60); }, 0x0804, {0x04, 0xFF, 0xFF, 0xFF, 0xFF}},
        {"lateral 0.30 G", [](FirmInfo& s) { s.setLateralCorrection(30); }, kKeyLateralCorrection,
         {0x00, 0x30, 0xFF, 0xFF, 0xFF}},
        {"lateral 9999", [](FirmInfo& s) { s.setLateralCorrection(9999); }, kKeyLateralCorrection,
         {0x99, 0x99, 0xFF, 0xFF, 0xFF}},
        {"angle -45", [](FirmInfo& s) { s.setDirectionAngle(-45); }, kKeyDirectionAngle, {0x01, 0x45, 0xFF, 0xFF, 0xFF}},
        {"angle -5", [](FirmInfo& s) { s.setDirectionAngle(-5); }, kKeyDirectionAngle, {0x01, 0x05, 0xFF, 0xFF, 0xFF}},
        {"angle 45", [](FirmInfo& s) { s.setDirectionAngle(45); }, kKeyDirectionAngle, {0x00, 0x45, 0xFF, 0xFF, 0xFF}},
        {"automatic angle", [](FirmInfo& s) { s.setDirectionAngle(8000); }, kKeyDirectionAngle,
         {0x80, 0x00, 0xFF, 0xFF, 0xFF}},
        {"overwrite", [](FirmInfo& s) { s.setOverwrite(1); }, kKeyOverwrite, {0x01, 0xFF, 0xFF, 0xFF, 0xFF}},
        {"operation buzzer off", [](FirmInfo& s) { s.setOperationBuzzer(2); }, kKeyOperationBuzzer,
         {0x02, 0xFF, 0xFF, 0xFF, 0xFF}},
        {"event buzzer 99", [](FirmInfo& s) { s.setEventBuzzer(99); }, kKeyEventBuzzer, {0x99, 0xFF, 0xFF, 0xFF, 0xFF}},
        {"two-digit value clamped", [](FirmInfo& s) { s.setEventBuzzer(150); }, kKeyEventBuzzer,
         {0x99, 0xFF, 0xFF, 0xFF, 0xFF}},
        {"a later set replaces the whole value", [](FirmInfo& s) { s.setLateralCorrection(1234); s.setLateralCorrection(7); },
         kKeyLateralCorrection, {0x00, 0x07, 0xFF, 0xFF, 0xFF}},
    };
    for (const EncodeCase& c : cases) {
        SCOPED_TRACE(c.name);
        FirmInfo settings(kCode);
        c.set(settings);
        FirmInfo::Value value = settings.find(c.key);
        EXPECT_EQ(hexOf(Bytes(value.begin(), value.end())), hexOf(Bytes(c.value.begin(), c.value.end())));
    }
}

TEST(FirmInfoRecords, DirectionAngleReadBack) {
    struct Case {
        const char* name;
        std::uint8_t high, low;
        int angle;
    } cases[] = {
        {"0145 is -45", 0x01, 0x45, -45}, {"0105 is -5", 0x01, 0x05, -5},  {"0045 is 45", 0x00, 0x45, 45},
        {"0000 is 0", 0x00, 0x00, 0},     {"0100 is 0", 0x01, 0x00, 0},    {"8000 is automatic", 0x80, 0x00, 8000},
        {"0150 is automatic", 0x01, 0x50, 8000}, {"0046 is automatic", 0x00, 0x46, 8000},
        {"0146 is automatic", 0x01, 0x46, 8000}, {"FFFF is automatic", 0xFF, 0xFF, 8000},
    };
    ScratchFolder folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FirmInfo settings(kCode);
        settings.readSettingsFile(folder.write(L"DREC.INI", join({headerRecord(), dataRecord(0x0812, {c.high, c.low})})));
        EXPECT_EQ(settings.directionAngle(), c.angle);
    }
}

TEST(FirmInfoRecords, DecodedValuesFromFirmwareInformation) {
    ScratchFolder folder;
    std::wstring path = folder.write(L"FIRMINFO.DAT", join({prefix16(), headerRecord(),
                                                            dataRecord(0x0801, {0x00, 0x50}),  // threshold 0.50 G
                                                            dataRecord(0x0811, {0x00, 0x12}),  // lateral 0.12 G
                                                            dataRecord(0x1801, {0x00}),        // no overwrite
                                                            dataRecord(0x0301, {0x01}),        // operation buzzer loud
                                                            dataRecord(0x0304, {0x02}),        // event buzzer off
                                                            dataRecord(0x0812, {0x00, 0x0A})}));  // nibble above 9: 10
    FirmInfo settings(kCode);
    settings.readFirmwareInfoFile(path);
    EXPECT_EQ(settings.threshold(), 50);
    EXPECT_EQ(settings.lateralCorrection(), 12);
    EXPECT_EQ(settings.overwrite(), 0);
    EXPECT_EQ(settings.operationBuzzer(), 1);
    EXPECT_EQ(settings.eventBuzzer(), 2);
    EXPECT_EQ(settings.directionAngle(), 10);
}

TEST(FirmInfoRecords, DateAndTimeInLocalTime) {
    std::tm local{};
    local.tm_year = 2026 - 1900;
    local.tm_mon = 11;  // December
    local.tm_mday = 8;
    local.tm_hour = 9;
    local.tm_min = 5;
    local.tm_sec = 42;
    local.tm_isdst = -1;
    std::int64_t time = _mktime64(&local);
    ASSERT_NE(time, -1);
    FirmInfo settings(kCode);
    settings.setDateTime(time);
    FirmInfo::Value value = settings.find(kKeyDateTime);
    EXPECT_EQ(hexOf(Bytes(value.begin(), value.end())), "26 12 08 09 05 ");

    try {
        settings.setDateTime(std::numeric_limits<std::int64_t>::max());
        ADD_FAILURE() << "an unconvertible time was taken";
    } catch (const FirmInfoException& e) {
        EXPECT_EQ(e.message(), kOutOfRange);
    }
    value = settings.find(kKeyDateTime);
    EXPECT_EQ(hexOf(Bytes(value.begin(), value.end())), "26 12 08 09 05 ");
}

TEST(FirmInfoWrite, DefaultSettingsFileIsTheFactorySixRecords) {
    const Bytes expected = {
        0x00, 0x01, 0x03, 0x12, 0xFF, 0xFF, 0xFF, 0xEF,  // header
        0x03, 0x01, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x02,  // operation buzzer 0
        0x08, 0x01, 0x00, 0x45, 0xFF, 0xFF, 0xFF, 0xB3,  // threshold 45
        0x08, 0x02, 0x01, 0x00, 0xFF, 0xFF, 0xFF, 0xF4,  // companion 0100
        0x08, 0x03, 0x02, 0x00, 0xFF, 0xFF, 0xFF, 0xF6,  // companion 0200
        0x08, 0x04, 0x00, 0x40, 0xFF, 0xFF, 0xFF, 0xB3,  // companion 0040
    };
    ScratchFolder folder;
    for (const char* name : {"no file before", "over a hidden read-only file"}) {
        SCOPED_TRACE(name);
        FirmInfo::writeDefaultSettingsFile(folder.path(), kCode);
        EXPECT_EQ(hexOf(folder.read(L"DREC.INI")), hexOf(expected));
        EXPECT_TRUE(isHiddenReadOnly(folder.file(L"DREC.INI")));
        EXPECT_EQ(folder.names(), std::vector<std::wstring>{L"DREC.INI"});
    }
}

TEST(FirmInfoWrite, WritingTwiceReplacesTheHiddenReadOnlyFile) {
    ScratchFolder folder;
    std::wstring path = folder.file(L"DREC.INI");
    FirmInfo first(kCode);
    first.setOverwrite(1);
    first.writeSettingsFile(path, false);
    EXPECT_TRUE(isHiddenReadOnly(path));

    FirmInfo second(kCode);
    second.setDirectionAngle(-45);
    second.writeSettingsFile(path, false);
    second.verifySettingsFile(path);
    EXPECT_EQ(hexOf(folder.read(L"DREC.INI")), hexOf(join({headerRecord(), dataRecord(0x0812, {0x01, 0x45})})));
    EXPECT_TRUE(isHiddenReadOnly(path));
    EXPECT_EQ(folder.names(), std::vector<std::wstring>{L"DREC.INI"});

    FirmInfo readBack(kCode);
    readBack.readSettingsFile(path);
    EXPECT_EQ(readBack.directionAngle(), -45);
}

TEST(FirmInfoWrite, MergeKeepsTheOldFilesOtherKeysAfterTheNewRecords) {
    struct Case {
        const char* name;
        Bytes oldFile;
        bool merge;
        Bytes expected;  // with a new set of: operation buzzer 1, lateral 20
    } cases[] = {
        {"merge",
         join({headerRecord(), dataRecord(0x0811, {0x00, 0x05}), dataRecord(0x2001, {0x11}), dataRecord(0x0301, {0x02}),
               dataRecord(0x0101, {0x26, 0x01, 0x02, 0x03, 0x04}), dataRecord(0x2001, {0x22})}),
         true,
         join({headerRecord(), dataRecord(0x0301, {0x01}), dataRecord(0x0811, {0x00, 0x20}), dataRecord(0x2001, {0x11}),
               dataRecord(0x0101, {0x26, 0x01, 0x02, 0x03, 0x04})})},
        {"merge over a foreign file", join({headerRecord(0x04, 0x12), dataRecord(0x2001, {0x11})}), true,
         join({headerRecord(), dataRecord(0x0301, {0x01}), dataRecord(0x0811, {0x00, 0x20})})},
        {"no merge", join({headerRecord(), dataRecord(0x2001, {0x11})}), false,
         join({headerRecord(), dataRecord(0x0301, {0x01}), dataRecord(0x0811, {0x00, 0x20})})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder folder;
        std::wstring path = folder.write(L"DREC.INI", c.oldFile);
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
        FirmInfo settings(kCode);
        settings.setOperationBuzzer(1);
        settings.setLateralCorrection(20);
        settings.writeSettingsFile(path, c.merge);
        EXPECT_EQ(hexOf(folder.read(L"DREC.INI")), hexOf(c.expected));
        settings.verifySettingsFile(path);  // the set took on the merged records
    }
}

TEST(FirmInfoWrite, MergeStopsAtAFullSet) {
    ScratchFolder folder;
    Bytes oldFile = join({headerRecord(), dataRecord(0x2001, {0x01}), dataRecord(0x2002, {0x02})});
    std::wstring path = folder.write(L"DREC.INI", oldFile);
    FirmInfo settings(kCode);
    for (int i = 0; i < 77; ++i) settings.findOrAdd(static_cast<std::uint16_t>(0x4000 + i));
    settings.writeSettingsFile(path, true);
    FirmInfo readBack(kCode);
    readBack.readSettingsFile(path);
    EXPECT_EQ(readBack.recordCount(), 78);
    EXPECT_EQ(readBack.keyAt(77), 0x2001);
}

TEST(FirmInfoWrite, VerifyNeedsTheSameRecordsInTheSameOrder) {
    struct Case {
        const char* name;
        Bytes file;
        bool same;
    } cases[] = {
        {"same", join({headerRecord(), dataRecord(0x0301, {0x00}), dataRecord(0x1801, {0x01})}), true},
        {"other order", join({headerRecord(), dataRecord(0x1801, {0x01}), dataRecord(0x0301, {0x00})}), false},
        {"other value", join({headerRecord(), dataRecord(0x0301, {0x01}), dataRecord(0x1801, {0x01})}), false},
        {"one more", join({headerRecord(), dataRecord(0x0301, {0x00}), dataRecord(0x1801, {0x01}), dataRecord(0x0304, {0x00})}),
         false},
        {"unreadable", join({headerRecord(0x03, 0x13), dataRecord(0x0301, {0x00}), dataRecord(0x1801, {0x01})}), false},
    };
    ScratchFolder folder;
    FirmInfo settings(kCode);
    settings.setOperationBuzzer(0);
    settings.setOverwrite(1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::wstring path = folder.write(L"DREC.INI", c.file);
        try {
            settings.verifySettingsFile(path);
            EXPECT_TRUE(c.same);
        } catch (const FirmInfoException& e) {
            EXPECT_FALSE(c.same);
            EXPECT_EQ(e.message(), L"設定ファイルを書き込めません。");
        }
    }
}

TEST(FirmInfoWrite, AnotherFirmwareCodeGoesIntoTheHeader) {
    ScratchFolder folder;
    std::wstring path = folder.file(L"DREC.INI");
    FirmInfo settings(FirmwareCode{0x04, 0x20});
    settings.setOverwrite(0);
    settings.writeSettingsFile(path, false);
    EXPECT_EQ(hexOf(folder.read(L"DREC.INI")), hexOf(join({headerRecord(0x04, 0x20), dataRecord(0x1801, {0x00})})));
    FirmInfo ours(kCode);
    EXPECT_THROW(ours.readSettingsFile(path), FirmInfoException);
}

TEST(FirmwareCodeText, ParsesTheHexadecimalText) {
    struct Case {
        const char* name;
        std::wstring text;
        std::uint8_t high, low;
    } cases[] = {
        {"the shipped code", L"0312", 0x03, 0x12}, {"another family", L"0313", 0x03, 0x13},
        {"one byte", L"ff", 0x00, 0xFF},           {"leading blank and 0x", L" 0x0412", 0x04, 0x12},
        {"digits then junk", L"0520zz", 0x05, 0x20}, {"empty", L"", 0x03, 0x12},
        {"no digit", L"zz", 0x03, 0x12},           {"above 0xFFFF", L"10000", 0x03, 0x12},
        {"overflow", L"123456789ABCDEF0123", 0x03, 0x12}, {"negative", L"-1", 0x03, 0x12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FirmwareCode code = parseFirmwareCode(c.text);
        EXPECT_EQ(code.high, c.high);
        EXPECT_EQ(code.low, c.low);
    }
    EXPECT_EQ(currentFirmwareCode().high, 0x03);
    EXPECT_EQ(currentFirmwareCode().low, 0x12);
}

}  // namespace
