// Expanding cabinets that Debian's gcab made from files the build wrote: every member with
// its bytes, time and attributes, and nothing left behind by a cabinet that fails.
#include "app/AppTestFolder.h"
#include "app/CabinetExpander.h"
#include "base/Exception.h"
#include "restore/RestoreInputs.h"
#include "support/SettingsTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

using namespace restore_test;
using settings_test::isHiddenReadOnly;

namespace {

struct Member {
    const wchar_t* name;
    SYSTEMTIME localTime;  // what gcab recorded, to the even second
};

const Member kMembers[] = {
    {L"readme.txt", {2021, 3, 0, 4, 5, 6, 8, 0}},
    {L"program.bin", {2019, 11, 0, 22, 13, 45, 30, 0}},
    {L"empty.dat", {2020, 1, 0, 1, 0, 0, 0, 0}},
    {L"sub\\deep\\setting.cfg", {2018, 7, 0, 15, 23, 59, 58, 0}},
};

std::wstring localTimeText(const FILETIME& time) {
    FILETIME local;
    SYSTEMTIME fields;
    if (!FileTimeToLocalFileTime(&time, &local) || !FileTimeToSystemTime(&local, &fields)) return L"?";
    wchar_t text[32];
    swprintf(text, 32, L"%04u-%02u-%02u %02u:%02u:%02u", fields.wYear, fields.wMonth, fields.wDay, fields.wHour,
             fields.wMinute, fields.wSecond);
    return text;
}

std::wstring localTimeText(const SYSTEMTIME& fields) {
    FILETIME time;
    SystemTimeToFileTime(&fields, &time);
    FILETIME universal;
    LocalFileTimeToFileTime(&time, &universal);
    return localTimeText(universal);
}

// The message of the IOException that expanding cabinet into folder throws; empty if none.
std::wstring expansionFailure(const std::wstring& cabinet, const std::wstring& folder) {
    try {
        CabinetExpander(folder).expand(cabinet);
    } catch (const IOException& failure) {
        return failure.message();
    }
    return std::wstring();
}

std::uint32_t littleEndian32(const Bytes& bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes.at(at) | bytes.at(at + 1) << 8 | bytes.at(at + 2) << 16 |
                                      bytes.at(at + 3) << 24);
}

// Offsets in a one-folder cabinet: the file table (header field coffFiles) and the first
// data block (the folder's coffCabStart); a data block starts with an 8-byte header.
constexpr std::size_t kFileTableOffsetField = 16;
constexpr std::size_t kFirstFolderRecord = 36;
constexpr std::size_t kDataBlockHeader = 8;

}  // namespace

TEST(CabinetExpander, EveryMemberArrivesWithItsBytesTimeAndAttributes) {
    for (const wchar_t* cabinet : {L"stored.cab", L"mszip.cab"}) {
        SCOPED_TRACE(testing::Message() << "cabinet " << cabinet);
        AppTestFolder card;
        CabinetExpander expander(card.path());
        ASSERT_NO_THROW(expander.expand(input(cabinet)));

        const std::vector<ExtractedFile>& files = expander.extractedFiles();
        ASSERT_EQ(files.size(), std::size(kMembers));
        for (std::size_t i = 0; i < files.size(); ++i) {
            const Member& member = kMembers[i];
            SCOPED_TRACE(testing::Message() << "member " << member.name);
            std::wstring path = card.path(member.name);
            Bytes original = readFileBytes(input(std::wstring(L"members\\") + member.name));
            EXPECT_EQ(files[i].path, path);
            EXPECT_EQ(files[i].size, original.size());
            EXPECT_TRUE(readFileBytes(path) == original);
            EXPECT_TRUE(isHiddenReadOnly(path));

            WIN32_FILE_ATTRIBUTE_DATA data;
            ASSERT_TRUE(GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data));
            EXPECT_EQ(localTimeText(data.ftLastWriteTime), localTimeText(member.localTime));
            EXPECT_EQ(localTimeText(data.ftCreationTime), localTimeText(member.localTime));
        }
        EXPECT_GT(files[1].size, 2u * 32768u) << "program.bin should span several data blocks";
        std::vector<std::wstring> tree = treeOf(card.path());
        std::sort(tree.begin(), tree.end());
        EXPECT_EQ(tree, (std::vector<std::wstring>{L"empty.dat", L"program.bin", L"readme.txt", L"sub\\",
                                                    L"sub\\deep\\", L"sub\\deep\\setting.cfg"}));
    }
}

TEST(CabinetExpander, ASecondExpansionReplacesTheHiddenReadOnlyMembers) {
    AppTestFolder card;
    ASSERT_EQ(expansionFailure(input(L"stored.cab"), card.path()), L"");
    ASSERT_EQ(expansionFailure(input(L"mszip.cab"), card.path()), L"");
    EXPECT_TRUE(readFileBytes(card.path(L"program.bin")) == readFileBytes(input(L"members\\program.bin")));
    EXPECT_TRUE(isHiddenReadOnly(card.path(L"program.bin")));
}

TEST(CabinetExpander, ABrokenCabinetLeavesNothingBehindAndSaysWhy) {
    struct Case {
        const char* name;
        const wchar_t* cabinet;
        std::function<void(Bytes&)> damage;
        const wchar_t* text;
    };
    auto cutTo = [](std::size_t size) { return [size](Bytes& b) { b.resize(std::min(size, b.size())); }; };
    auto cutInFileTable = [](Bytes& b) { b.resize(littleEndian32(b, kFileTableOffsetField) + 20); };
    auto cutBeforeEnd = [](Bytes& b) { b.resize(b.size() - 300); };
    auto flipInFirstBlock = [](Bytes& b) {
        std::size_t data = littleEndian32(b, kFirstFolderRecord) + kDataBlockHeader;
        for (std::size_t i = data + 10; i < data + 30; ++i) b.at(i) ^= 0x5A;
    };
    const Case cases[] = {
        {"not a cabinet at all", L"stored.cab", [](Bytes& b) { b.assign(200, 'x'); }, L"キャビネットではありません。"},
        {"cut inside the header", L"stored.cab", cutTo(20), L"キャビネットではありません。"},
        {"stored, cut inside the file table", L"stored.cab", cutInFileTable, L"壊れたキャビネットです。"},
        {"MSZIP, cut inside the file table", L"mszip.cab", cutInFileTable, L"壊れたキャビネットです。"},
        {"stored, cut in the last member", L"stored.cab", cutBeforeEnd, L"壊れたキャビネットです。"},
        {"MSZIP, cut in the last member", L"mszip.cab", cutBeforeEnd, L"壊れたキャビネットです。"},
        {"stored, flipped bytes in the data", L"stored.cab", flipInFirstBlock, L"壊れたキャビネットです。"},
        {"MSZIP, flipped bytes in the data", L"mszip.cab", flipInFirstBlock, L"壊れたキャビネットです。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AppTestFolder scratch;
        std::wstring card = scratch.folder(L"card");
        Bytes bytes = readFileBytes(input(c.cabinet));
        c.damage(bytes);
        ASSERT_TRUE(writeFileBytes(scratch.path(L"damaged.cab"), bytes));
        EXPECT_EQ(expansionFailure(scratch.path(L"damaged.cab"), card), c.text);
        EXPECT_EQ(treeOf(card), std::vector<std::wstring>());
    }
}

TEST(CabinetExpander, AMissingCabinetIsNotFound) {
    AppTestFolder card;
    EXPECT_EQ(expansionFailure(card.path(L"none.cab"), card.path()), L"キャビネットが見つかりません。");
}

TEST(CabinetExpander, AFileWhoseSizeDiffersRemovesEveryMember) {
    // SAME.BIN and same.bin are one file on the card: the first member's file ends with the
    // second one's size.
    AppTestFolder card;
    EXPECT_EQ(expansionFailure(input(L"collision.cab"), card.path()), L"一部のファイルの展開に失敗しました。");
    EXPECT_EQ(treeOf(card.path()), std::vector<std::wstring>());
}

TEST(CabinetExpander, ANameThatLeavesTheFolderStopsTheExpansion) {
    struct Case {
        const char* name;
        const char* replacement;  // for the "zz" of zz\escape.txt
        const wchar_t* outside;   // where the member would have gone, relative to the scratch root
    };
    const Case cases[] = {
        {"parent folder", "..", L"escape.txt"},
        {"drive", "C:", nullptr},
        {"root of the drive", "\\x", nullptr},
    };
    Bytes original = readFileBytes(input(L"escape.cab"));
    const std::string name = "zz\\escape.txt";
    auto at = std::search(original.begin(), original.end(), name.begin(), name.end());
    ASSERT_NE(at, original.end());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AppTestFolder scratch;
        std::wstring card = scratch.folder(L"card");
        Bytes bytes = original;
        std::copy(c.replacement, c.replacement + 2, bytes.begin() + (at - original.begin()));
        ASSERT_TRUE(writeFileBytes(scratch.path(L"bad.cab"), bytes));
        EXPECT_EQ(expansionFailure(scratch.path(L"bad.cab"), card), L"ユーザによって中断されました。");
        EXPECT_EQ(treeOf(card), std::vector<std::wstring>());
        if (c.outside != nullptr) {
            EXPECT_FALSE(exists(scratch.path(c.outside)));
        }
    }
    EXPECT_FALSE(exists(L"C:\\escape.txt"));
    EXPECT_FALSE(exists(L"\\x\\escape.txt"));
}

TEST(CabinetExpander, FailureCodesHaveTheirTexts) {
    EXPECT_EQ(CabinetExpander::errorText(0), L"キャビネット以外のエラーです。");
    EXPECT_EQ(CabinetExpander::errorText(11), L"ユーザによって中断されました。");
    EXPECT_EQ(CabinetExpander::errorText(12), L"未定義のエラーです。");
    EXPECT_EQ(CabinetExpander::errorText(-1), L"未定義のエラーです。");
}
