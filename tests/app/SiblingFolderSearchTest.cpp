// The previous/next record folder as the shell lists the parent's folders.
#include "app/AppTestFolder.h"
#include "app/SiblingFolderSearch.h"
#include "base/Exception.h"

#include <gtest/gtest.h>

#include <objbase.h>

namespace {

const std::wstring kNoNext = L"次の記録データはありません。";
const std::wstring kNoPrevious = L"前の記録データはありません。";
const std::wstring kNotFound = L"現在のフォルダの位置を取得できません。";

class SiblingFolderSearchTest : public ::testing::Test {
protected:
    void SetUp() override {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        // Created out of order, with a file and a hidden folder among them.
        parent = tree.folder(L"EVENT");
        tree.folder(L"EVENT\\c");
        tree.folder(L"EVENT\\a");
        tree.folder(L"EVENT\\B");
        tree.file(L"EVENT\\b.txt", "not a folder");
    }
    void TearDown() override { CoUninitialize(); }

    AppTestFolder tree;
    std::wstring parent;
};

}  // namespace

TEST_F(SiblingFolderSearchTest, FindsTheNeighboursInCaseInsensitiveOrder) {
    struct Case {
        const char* name;
        const wchar_t* from;
        bool previous;
        const wchar_t* expected;  // sibling name, or nullptr for a failure
        std::wstring message;
    } cases[] = {
        {"next of B", L"B", false, L"c", L""},
        {"previous of B", L"B", true, L"a", L""},
        {"next of a", L"a", false, L"B", L""},
        {"previous of c", L"c", true, L"B", L""},
        {"previous of the first", L"a", true, nullptr, kNoPrevious},
        {"next of the last", L"c", false, nullptr, kNoNext},
        {"name differing only in case", L"b", false, nullptr, kNotFound},
        {"trailing backslash", L"B\\", false, nullptr, kNotFound},
    };
    for (const Case& c : cases) {
        std::wstring from = parent + L"\\" + c.from;
        try {
            std::wstring found = SiblingFolderSearch::find(from, c.previous);
            ASSERT_NE(c.expected, nullptr) << c.name << ": found a sibling where none should be";
            EXPECT_EQ(found, parent + L"\\" + c.expected) << c.name;
        } catch (const Exception& failure) {
            EXPECT_EQ(c.expected, nullptr) << c.name << ": failed with a message";
            EXPECT_EQ(failure.message(), c.message) << c.name;
        }
    }
}

TEST_F(SiblingFolderSearchTest, HiddenFoldersCount) {
    std::wstring hidden = tree.folder(L"EVENT\\b2");
    SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(SiblingFolderSearch::find(parent + L"\\B", false), parent + L"\\b2");
}

TEST_F(SiblingFolderSearchTest, AVanishedFolderIsMissingData) {
    struct Case {
        const char* name;
        std::wstring folder;
    } cases[] = {
        {"folder removed", parent + L"\\gone"},
        {"parent removed", tree.path(L"nowhere\\EVT00001")},
    };
    for (const Case& c : cases) {
        EXPECT_THROW(SiblingFolderSearch::find(c.folder, false), DataMissingException) << c.name;
        EXPECT_THROW(SiblingFolderSearch::find(c.folder, true), DataMissingException) << c.name;
    }
}

TEST(SiblingFolderSearchPaths, SplitsNameAndParent) {
    struct Case {
        const wchar_t* path;
        const wchar_t* parent;
        const wchar_t* name;
    } cases[] = {
        {L"D:\\EVENT\\EVT00002", L"D:\\EVENT\\", L"EVT00002"},
        {L"D:\\EVENT\\EVT00002\\", L"D:\\EVENT\\", L""},
        {L"D:\\EVENT", L"D:\\", L"EVENT"},
        {L"D:\\", L"\\", L""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SiblingFolderSearch::parentOf(c.path), c.parent) << std::string(c.path, c.path + wcslen(c.path));
        EXPECT_EQ(SiblingFolderSearch::nameOf(c.path), c.name);
    }
}
