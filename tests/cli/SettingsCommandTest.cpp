// scenova-cli settings, run as the user runs it: the built program beside this test.
#include "cli/CliRunner.h"
#include "support/SettingsTestSupport.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <string>

using namespace settings_test;

namespace {

TEST(SettingsCommand, PrintsRecordsAndDecodedValues) {
    struct Case {
        const char* name;
        const wchar_t* fileName;
        Bytes file;
        const char* json;
    } cases[] = {
        {"factory DREC.INI", L"DREC.INI",
         join({headerRecord(), dataRecord(0x0301, {0x00}), dataRecord(0x0801, {0x00, 0x45}),
               dataRecord(0x0802, {0x01, 0x00})}),
         R"({"records": [{"key": "0x0301", "value": "00FFFFFFFF"}, {"key": "0x0801", "value": "0045FFFFFF"},
                         {"key": "0x0802", "value": "0100FFFFFF"}],
             "threshold": 45, "operationBuzzer": 0})"},
        {"FIRMINFO.DAT with every value", L"FIRMINFO.DAT",
         join({Bytes(16, 0x5A),                     // prefix, not interpreted
               headerRecord(),
               dataRecord(0x1801, {0x01}),          // overwrite
               dataRecord(0x0812, {0x01, 0x45}),    // angle -45
               dataRecord(0x0811, {0x00, 0x15}),    // lateral 0.15 G
               dataRecord(0x0801, {0x00, 0x52}),    // threshold 0.52 G
               dataRecord(0x0304, {0x02}),          // event buzzer off
               dataRecord(0x0301, {0x01})}),        // operation buzzer loud
         R"({"records": [{"key": "0x1801", "value": "01FFFFFFFF"}, {"key": "0x0812", "value": "0145FFFFFF"},
                         {"key": "0x0811", "value": "0015FFFFFF"}, {"key": "0x0801", "value": "0052FFFFFF"},
                         {"key": "0x0304", "value": "02FFFFFFFF"}, {"key": "0x0301", "value": "01FFFFFFFF"}],
             "threshold": 52, "lateral": 15, "angle": -45, "overwrite": 1, "operationBuzzer": 1, "eventBuzzer": 2})"},
        {"automatic angle", L"DREC.INI", join({headerRecord(), dataRecord(0x0812, {0x01, 0x50})}),
         R"({"records": [{"key": "0x0812", "value": "0150FFFFFF"}], "angle": "auto"})"},
        {"FIRMINFO.DAT of 24 bytes", L"firminfo.dat", join({Bytes(16, 0x00), headerRecord()}), R"({"records": []})"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder folder;
        CliResult run = runCli(folder.path(), L"settings " + inQuotes(folder.write(c.fileName, c.file)));
        EXPECT_EQ(run.exitCode, 0u);
        EXPECT_EQ(run.err, "");
        nlohmann::ordered_json printed = nlohmann::ordered_json::parse(run.out, nullptr, false);
        ASSERT_FALSE(printed.is_discarded()) << run.out;
        EXPECT_EQ(printed, nlohmann::ordered_json::parse(c.json)) << run.out;
    }
}

TEST(SettingsCommand, UnreadableFilesExitWithStatus2) {
    struct Case {
        const char* name;
        const wchar_t* fileName;
        Bytes file;
    } cases[] = {
        {"another firmware code", L"DREC.INI", join({headerRecord(0x03, 0x13), dataRecord(0x0301, {0x00})})},
        {"FIRMINFO.DAT without its prefix", L"FIRMINFO.DAT", join({headerRecord(), dataRecord(0x0301, {0x00})})},
        {"not a settings file", L"DREC.INI", Bytes{'[', 's', 'e', 't', 't', 'i', 'n', 'g', 's', ']'}},
        {"missing file", nullptr, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder folder;
        std::wstring path = c.fileName ? folder.write(c.fileName, c.file) : folder.file(L"DREC.INI");
        CliResult run = runCli(folder.path(), L"settings " + inQuotes(path));
        EXPECT_EQ(run.exitCode, 2u);
        EXPECT_EQ(run.out, "");
        // Standard error is in text mode: the line ends in CR LF.
        EXPECT_EQ(run.err, u8"設定ファイルを読み込めません。\r\n");
    }
}

TEST(SettingsCommand, WrongArgumentsShowUsage) {
    ScratchFolder folder;
    for (const wchar_t* arguments : {L"settings", L"settings a b"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(arguments)));
        CliResult run = runCli(folder.path(), arguments);
        EXPECT_EQ(run.exitCode, 64u);
        EXPECT_EQ(run.out, "");
    }
}

}  // namespace
