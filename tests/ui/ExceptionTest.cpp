#include "base/Exception.h"
#include "ui/WindowException.h"

#include <gtest/gtest.h>
#include <windows.h>

TEST(Exception, DerivedClassesKeepTheirMessageAndAreCaughtAsException) {
    try {
        throw VideoArchiveException(L"該当データを読み込めません。");
    } catch (const Exception& e) {
        EXPECT_EQ(e.message(), L"該当データを読み込めません。");
        EXPECT_NE(dynamic_cast<const VideoArchiveException*>(&e), nullptr);
        EXPECT_EQ(dynamic_cast<const IOException*>(&e), nullptr);
    }
}

TEST(WindowException, UsesTheSystemTextForAKnownCode) {
    WindowException e(ERROR_FILE_NOT_FOUND);
    wchar_t expected[1024] = {};
    FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, ERROR_FILE_NOT_FOUND, 0,
                   expected, 1024, nullptr);
    ASSERT_NE(expected[0], L'\0');
    EXPECT_EQ(e.message(), expected);
}

TEST(WindowException, FallsBackToTheTableTextForACodeWithoutSystemText) {
    const DWORD code = 0x2FFFFFFF;  // no system message exists for this code
    WindowException e(code);
    EXPECT_EQ(e.message(), L"Windowsのエラーです。エラーコード:" + std::to_wstring(static_cast<int>(code)));
}
