// The help page written out of the program's resources for the browser.
#include "app/AppTestFolder.h"
#include "app/HelpPage.h"
#include "base/StringTable.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string readFile(const std::wstring& path) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    std::string bytes;
    if (h == INVALID_HANDLE_VALUE) return bytes;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    CloseHandle(h);
    return bytes;
}

std::string utf8(const std::wstring& text) {
    int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
    return bytes;
}

}  // namespace

TEST(HelpPage, WritesThePageAndEveryPicture) {
    AppTestFolder folder;
    std::wstring page = HelpPage::writeTo(folder.path());
    EXPECT_EQ(page, folder.path() + L"\\index.html");
    std::string html = readFile(page);
    ASSERT_FALSE(html.empty());
    EXPECT_NE(html.find(utf8(L"<title>SCENOVA 操作方法</title>")), std::string::npos);
    for (int id = HelpPage::kFirstPictureId; id <= HelpPage::kLastPictureId; ++id) {
        std::string picture = readFile(folder.path() + L"\\" + std::to_wstring(id) + L".png");
        EXPECT_EQ(picture.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8)) << "picture " << id;
        EXPECT_NE(html.find("src=\"" + std::to_string(id) + ".png\""), std::string::npos)
            << "the page shows picture " << id;
    }
}

TEST(HelpPage, ExplainsEveryControlOfTheWindow) {
    AppTestFolder folder;
    std::string html = readFile(HelpPage::writeTo(folder.path()));
    // Menu entries, and the names the window's controls show in their tool tips.
    std::wstring names[] = {L"開く(O)", L"終了(X)", L"本体設定(S)", L"日時設定(C)", L"ヘルプ(H)", L"バージョン情報(A)",
                            L"ﾃﾞｰﾀ種別:", L"START/STOP", L"LAP/RESET", L"LAP LIST", L"一つ戻す", L"TOTAL",
                            L"LAP TIME", L"AVE.SPEED", L"アナログスピードメーター", L"デジタルスピードメーター",
                            L"情報パネル", L"G円チャート", L"グラフ", L"サムネイル", L"コピー", L"再生位置バー"};
    for (const std::wstring& name : names) EXPECT_NE(html.find(utf8(name)), std::string::npos) << utf8(name);
    for (unsigned tip : {5072u, 5073u, 5074u, 5075u, 5076u, 5077u, 5091u, 5092u, 5008u, 5009u, 5010u}) {
        std::wstring text = loadString(tip);
        ASSERT_FALSE(text.empty()) << tip;
        EXPECT_NE(html.find(utf8(text)), std::string::npos) << "tool tip " << tip << ": " << utf8(text);
    }
}

TEST(HelpPage, WhatWasWrittenCanBeRemoved) {
    std::wstring folder = HelpPage::makeFreshFolder();
    HelpPage::writeTo(folder);
    HelpPage::removeWritten(folder);
    EXPECT_EQ(GetFileAttributesW(folder.c_str()), INVALID_FILE_ATTRIBUTES);
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
