// The help page written out of the program's resources for the browser, and the removal of
// the copies written for it.
#include "app/AppTestFolder.h"
#include "app/HelpPage.h"
#include "base/StringTable.h"
#include "support/WholeFile.h"

#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>
#include <string>

namespace {

std::string utf8(const std::wstring& text) {
    int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
    return bytes;
}

std::wstring wide(const std::string& text) {
    int size = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring result(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), result.data(), size);
    return result;
}

// The names of the files in folder (no sub-folders).
std::set<std::string> filesIn(const std::wstring& folder) {
    std::set<std::string> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) names.insert(utf8(found.cFileName));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

// Every local file the page loads or links to: image sources and links that are neither
// anchors nor web addresses.
std::set<std::string> filesThePageUses(const std::string& html) {
    std::set<std::string> used;
    static const std::regex reference(R"re((src|href)\s*=\s*"([^"#][^"]*)")re", std::regex::icase);
    for (std::sregex_iterator match(html.begin(), html.end(), reference), end; match != end; ++match) {
        std::string target = (*match)[2];
        if (target.find("://") == std::string::npos && target.rfind("mailto:", 0) != 0) used.insert(target);
    }
    return used;
}

bool exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void setLastWriteHoursAgo(const std::wstring& folder, int hours) {
    HANDLE h = CreateFileW(folder.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULONGLONG ticks = ((static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime) -
                      static_cast<ULONGLONG>(hours) * 3600 * 10000000;
    FILETIME then{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    EXPECT_TRUE(SetFileTime(h, nullptr, nullptr, &then));
    CloseHandle(h);
}

}  // namespace

// The page as the program writes it for the browser: each picture it shows is there, and
// each picture written is shown somewhere, so none is missing and none is dead weight.
TEST(HelpPage, WritesEveryPictureThePageUsesAndNoOther) {
    AppTestFolder folder;
    std::wstring page = HelpPage::writeTo(folder.path());
    EXPECT_EQ(page, folder.path() + L"\\index.html");
    std::string html = readFileText(page);
    ASSERT_FALSE(html.empty());
    EXPECT_NE(html.find(utf8(L"<title>SCENOVA 操作方法</title>")), std::string::npos);

    std::set<std::string> used = filesThePageUses(html);
    std::set<std::string> written = filesIn(folder.path());
    for (const std::string& name : used) {
        EXPECT_TRUE(written.count(name) == 1) << "the page uses " << name << ", which was not written";
    }
    for (const std::string& name : written) {
        if (name == "index.html") continue;
        EXPECT_TRUE(used.count(name) == 1) << name << " was written, but the page does not use it";
    }
    std::map<std::string, std::string> samePicture;  // bytes -> first name
    for (const std::string& name : written) {
        if (name == "index.html") continue;
        std::string picture = readFileText(folder.path() + L"\\" + wide(name));
        EXPECT_EQ(picture.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8)) << name << " is not a PNG picture";
        auto first = samePicture.emplace(picture, name);
        EXPECT_TRUE(first.second) << name << " is the same picture as " << first.first->second;
    }
}

TEST(HelpPage, ExplainsEveryControlOfTheWindow) {
    AppTestFolder folder;
    std::string html = readFileText(HelpPage::writeTo(folder.path()));
    // Menu entries, and the names the window's controls show in their tool tips.
    std::wstring names[] = {L"開く(O)", L"終了(X)", L"本体設定(S)", L"日時設定(C)", L"ヘルプ(H)", L"バージョン情報(A)",
                            L"ﾃﾞｰﾀ種別:", L"START/STOP", L"LAP/RESET", L"LAP LIST", L"TOTAL",
                            L"LAP TIME", L"AVE.SPEED", L"アナログスピードメーター", L"デジタルスピードメーター",
                            L"情報パネル", L"G円チャート", L"グラフ", L"サムネイル", L"コピー", L"再生位置バー"};
    for (const std::wstring& name : names) EXPECT_NE(html.find(utf8(name)), std::string::npos) << utf8(name);
    for (unsigned tip : {5072u, 5073u, 5074u, 5075u, 5076u, 5077u, 5091u, 5092u, 5008u, 5009u, 5010u, 5518u, 5519u,
                         5520u, 5521u, 5512u, 5513u}) {
        std::wstring text = loadString(tip);
        ASSERT_FALSE(text.empty()) << tip;
        EXPECT_NE(html.find(utf8(text)), std::string::npos) << "tool tip " << tip << ": " << utf8(text);
    }
}

TEST(HelpPage, EachShowGetsAFreshFolder) {
    std::wstring first = HelpPage::makeFreshFolder();
    std::wstring second = HelpPage::makeFreshFolder();
    EXPECT_NE(first, second);
    for (const std::wstring& folder : {first, second}) {
        DWORD attributes = GetFileAttributesW(folder.c_str());
        EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES);
        EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
        AppTestFolder::removeTree(folder);
    }
}

TEST(HelpPage, CopiesWrittenForTheBrowserGoAtTheEndOfTheRun) {
    std::wstring first = HelpPage::writeFreshCopy();
    std::wstring second = HelpPage::writeFreshCopy();
    ASSERT_TRUE(exists(first));
    ASSERT_TRUE(exists(second));
    HelpPage::removeShownCopies();
    for (const std::wstring& page : {first, second}) {
        std::wstring folder = page.substr(0, page.rfind(L'\\'));
        EXPECT_FALSE(exists(folder)) << utf8(folder);
        AppTestFolder::removeTree(folder);
    }
}

// What the next start removes: only copies old enough that no browser is still opening
// them, and of those only what the program wrote.
TEST(HelpPage, TheNextStartRemovesStaleCopiesOnly) {
    struct Case {
        const char* name;
        int hoursOld;
        const wchar_t* otherFile;  // someone else's file in the folder, or null
        bool folderGoes;
    };
    const Case cases[] = {
        {"a copy two hours old", 2, nullptr, true},
        {"a copy just written", 0, nullptr, false},
        {"an old copy holding someone else's file", 2, L"notes.txt", false},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        std::wstring folder = HelpPage::makeFreshFolder();
        std::wstring page = HelpPage::writeTo(folder);
        std::wstring other = test.otherFile != nullptr ? folder + L"\\" + test.otherFile : L"";
        if (!other.empty()) {
            HANDLE h = CreateFileW(other.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
            ASSERT_NE(h, INVALID_HANDLE_VALUE);
            CloseHandle(h);
        }
        setLastWriteHoursAgo(folder, test.hoursOld);
        HelpPage::removeStaleCopies();
        EXPECT_EQ(exists(folder), !test.folderGoes);
        EXPECT_EQ(exists(page), test.hoursOld == 0) << "the page of a copy " << test.hoursOld << " hours old";
        if (!other.empty()) EXPECT_TRUE(exists(other)) << "someone else's file stays";
        AppTestFolder::removeTree(folder);
    }
}
