// The version text of the About box.
#include "app/ProgramVersion.h"

#include <gtest/gtest.h>

#include <windows.h>

TEST(ProgramVersion, KeepsTheFirstThreeNumbers) {
    struct Case {
        const wchar_t* fileVersion;
        const wchar_t* expected;
    } cases[] = {
        {L"1, 0, 0, 0", L"1.0.0"},
        {L"2,10,3,4", L"2.10.3"},
        {L"1, 2, 3", L"1.2.3"},
        {L"1, 0", L"1.0"},
        {L"3", L"3"},
        {L" 1 , 0 , 7 , 9 (beta)", L"1.0.7"},
        {L"", L""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ProgramVersion::fromFileVersion(c.fileVersion), c.expected)
            << std::string(c.fileVersion, c.fileVersion + wcslen(c.fileVersion));
}

TEST(ProgramVersion, ReadsTheProgramFilesVersionResource) {
    // Test programs carry the program's resources, version included ("1, 0, 0, 0").
    EXPECT_EQ(ProgramVersion::text(), L"1.0.0");
}

TEST(ProgramVersion, AFileWithoutVersionHasNone) {
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);
    EXPECT_EQ(ProgramVersion::fileVersionOf(std::wstring(system) + L"\\no-such-file.exe"), L"");
}
