// The name check applied to every name a wildcard folder search returns.
#include "archive/NameCheck.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <string>

namespace {

TEST(NameCheckTest, NamesAgainstPatterns) {
    struct Case {
        const wchar_t* pattern;
        const wchar_t* name;
        bool accepted;
    } cases[] = {
        {L"Video????.dmv", L"video0001.DMV", true},
        {L"Video????.dmv", L"Video0001.dmv", true},
        {L"Video????.dmv", L"Video001.dmv", false},
        {L"Video????.dmv", L"Video0001a.dmv", false},
        {L"Video????.dmv", L"VideoA001.dmv", false},
        {L"Video????.dmv", L"Vidoe0001.dmv", false},
        {L"Video????.dmv", L"Video0001.dmx", false},
        {L"*.dpc", L"IMG00001.dpc", true},
        {L"*.dpc", L"img.DPC", true},
        {L"*.dpc", L"record.dpcx", false},
        {L"*.dpc", L"pc", false},
        {L"Video.dvt", L"VIDEO.DVT", true},
        {L"Video.dvt", L"other.dvt", true},  // only the extension is compared
    };
    for (const Case& c : cases) {
        EXPECT_EQ(nameMatchesPattern(c.pattern, c.name), c.accepted) << std::string(c.name, c.name + std::wcslen(c.name));
    }
}

}  // namespace
