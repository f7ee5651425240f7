// The clock dialog, on a card folder with its drive dialog answered from a list: the range it
// offers, typed hours and minutes, and the clock record OK writes into DREC.INI.
#include "app/DateTimeDialog.h"

#include "app/SettingsDialogTestSupport.h"
#include "resources/resource.h"
#include "support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

using namespace settings_test;

namespace {

const std::wstring kHourRange = L"時刻の範囲が正しくありません。";
const std::wstring kMinuteRange = L"分の範囲が正しくありません。";

// 2026-03-04 05:06
constexpr SYSTEMTIME kMoment = {2026, 3, 0, 4, 5, 6, 0, 0};

class DateTimeDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        initCommonControls();
        owner = makeOwnerWindow();
        // Never shown: a dialog that was on screen takes seconds to go under Wine without a window manager.
        ASSERT_NE(dialog.showModeless(owner, SW_HIDE), nullptr);
        hourEdit = GetDlgItem(dialog.handle(), IDC_DATE_TIME_HOUR);
        minuteEdit = GetDlgItem(dialog.handle(), IDC_DATE_TIME_MINUTE);
    }
    void TearDown() override {
        DestroyWindow(dialog.handle());
        DestroyWindow(owner);
    }
    void pressOk() {
        SendMessageW(dialog.handle(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog.handle(), IDOK)));
    }

    HWND owner = nullptr;
    DateTimeDialog dialog{L"C:\\"};
    HWND hourEdit = nullptr;
    HWND minuteEdit = nullptr;
};

}  // namespace

TEST_F(DateTimeDialogTest, OffersTheRecordersYearsAndStartsAtTheLocalTime) {
    SYSTEMTIME range[2] = {};
    HWND picker = GetDlgItem(dialog.handle(), IDC_DATE_TIME_DATE);
    EXPECT_EQ(SendMessageW(picker, DTM_GETRANGE, 0, reinterpret_cast<LPARAM>(range)), GDTR_MIN | GDTR_MAX);
    EXPECT_EQ(range[0].wYear, 2000);
    EXPECT_EQ(range[0].wMonth * 100 + range[0].wDay, 101);
    EXPECT_EQ(range[1].wYear, 2099);
    EXPECT_EQ(range[1].wMonth * 100 + range[1].wDay, 1231);
    EXPECT_EQ(range[1].wHour * 10000 + range[1].wMinute * 100 + range[1].wSecond, 235959);

    // The dialog was made a moment ago; the minute may have turned since.
    SYSTEMTIME now;
    GetLocalTime(&now);
    int shown = std::stoi(textOf(hourEdit)) * 60 + std::stoi(textOf(minuteEdit));
    int current = now.wHour * 60 + now.wMinute;
    EXPECT_TRUE(shown == current || (shown + 1) % (24 * 60) == current) << shown << " against " << current;
}

TEST_F(DateTimeDialogTest, TypedHoursAndMinutesAreClampedAndJunkBringsBackThePreviousValue) {
    struct Case {
        const char* name;
        int edit;
        const wchar_t* typed;
        const wchar_t* shown;
    } cases[] = {
        {"hour 24", IDC_DATE_TIME_HOUR, L"24", L"23"},          {"hour -3", IDC_DATE_TIME_HOUR, L"-3", L"0"},
        {"hour with blanks", IDC_DATE_TIME_HOUR, L" 9 ", L"9"}, {"hour with a letter", IDC_DATE_TIME_HOUR, L"7x", L"5"},
        {"hour emptied", IDC_DATE_TIME_HOUR, L"", L"5"},        {"minute 60", IDC_DATE_TIME_MINUTE, L"60", L"59"},
        {"minute 45", IDC_DATE_TIME_MINUTE, L"45", L"45"},      {"minute no number", IDC_DATE_TIME_MINUTE, L"abc", L"6"},
    };
    for (const Case& c : cases) {
        dialog.showTime(kMoment);
        leaveEdit(dialog.handle(), c.edit, c.typed);
        EXPECT_EQ(textOf(GetDlgItem(dialog.handle(), c.edit)), c.shown) << c.name;
        int spin = c.edit == IDC_DATE_TIME_HOUR ? IDC_DATE_TIME_HOUR_SPIN : IDC_DATE_TIME_MINUTE_SPIN;
        EXPECT_EQ(std::to_wstring(SendDlgItemMessageW(dialog.handle(), spin, UDM_GETPOS32, 0, 0)), c.shown) << c.name;
    }
}

TEST_F(DateTimeDialogTest, OkWritesTheClockRecordAndKeepsTheOtherRecords) {
    ScratchFolder card;
    card.write(L"DREC.INI", join({headerRecord(), dataRecord(0x0801, {0x00, 0x45}), dataRecord(0x2001, {0x12, 0x34})}));
    MessageBoxRecorder boxes;
    DriveAnswers drives({card.path()});
    dialog.showTime(kMoment);
    pressOk();

    EXPECT_EQ(drives.prompts, std::vector<std::wstring>{kDrivePrompt});
    ASSERT_EQ(boxes.boxes().size(), 2u);
    EXPECT_EQ(boxes.boxes()[0].text, kWriteQuestion);
    EXPECT_EQ(boxes.boxes()[0].caption, L"確認");
    EXPECT_EQ(boxes.boxes()[0].style, static_cast<UINT>(MB_OKCANCEL | MB_ICONQUESTION));
    EXPECT_EQ(boxes.boxes()[1].text, kWritten);
    EXPECT_EQ(boxes.boxes()[1].caption, L"情報");
    EXPECT_EQ(dialog.result(), IDOK);
    EXPECT_EQ(dialog.driveFolder(), card.path());
    const Bytes expected = join({headerRecord(), dataRecord(0x0101, {0x26, 0x03, 0x04, 0x05, 0x06}),
                                 dataRecord(0x0801, {0x00, 0x45}), dataRecord(0x2001, {0x12, 0x34})});
    EXPECT_EQ(hexOf(card.read(L"DREC.INI")), hexOf(expected));
}

TEST_F(DateTimeDialogTest, WhatTheSpinsCannotTakeIsWarnedAboutAndTheDialogStays) {
    struct Case {
        const char* name;
        const wchar_t* hour;
        const wchar_t* minute;
        const std::wstring& warning;
    } cases[] = {
        {"hour 25", L"25", L"6", kHourRange},
        {"hour with a letter", L"1x", L"6", kHourRange},
        {"minute 75", L"5", L"75", kMinuteRange},
        {"both wrong: the hour first", L"99", L"99", kHourRange},
    };
    ScratchFolder card;
    for (const Case& c : cases) {
        MessageBoxRecorder boxes;
        DriveAnswers drives({card.path()});
        dialog.showTime(kMoment);
        // Typed, then OK with Enter: the focus never left the edit.
        SetWindowTextW(hourEdit, c.hour);
        SetWindowTextW(minuteEdit, c.minute);
        pressOk();
        ASSERT_EQ(boxes.boxes().size(), 2u) << c.name;
        EXPECT_EQ(boxes.boxes()[0].text, kWriteQuestion) << c.name;
        EXPECT_EQ(boxes.boxes()[1].text, c.warning) << c.name;
        EXPECT_EQ(boxes.boxes()[1].caption, L"警告") << c.name;
        EXPECT_EQ(dialog.result(), 0) << c.name;
        EXPECT_TRUE(card.names().empty()) << c.name;
    }
}

TEST_F(DateTimeDialogTest, NothingIsWrittenWithoutADriveOrAnOkToTheQuestion) {
    const Bytes oldFile = join({headerRecord(), dataRecord(0x0801, {0x00, 0x55})});
    ScratchFolder card;
    card.write(L"DREC.INI", oldFile);
    struct Case {
        const char* name;
        std::wstring drive;  // empty: cancelled
        int answer;
        std::size_t boxes;
    } cases[] = {
        {"drive dialog cancelled", L"", IDOK, 0},
        {"question answered Cancel", card.path(), IDCANCEL, 1},
    };
    for (const Case& c : cases) {
        MessageBoxRecorder boxes(c.answer);
        DriveAnswers drives({c.drive});
        pressOk();
        EXPECT_EQ(boxes.boxes().size(), c.boxes) << c.name;
        EXPECT_EQ(dialog.result(), 0) << c.name;
        EXPECT_EQ(card.read(L"DREC.INI"), oldFile) << c.name;
    }
}

TEST_F(DateTimeDialogTest, AFailedWriteWarnsAndKeepsDrecIniByteForByte) {
    ScratchFolder card;
    const Bytes oldFile = join({headerRecord(), dataRecord(0x0801, {0x00, 0x55})});
    std::wstring path = card.write(L"DREC.INI", oldFile);
    DWORD attributesBefore = GetFileAttributesW(path.c_str());
    MessageBoxRecorder boxes;
    DriveAnswers drives({card.path()});
    HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    pressOk();
    CloseHandle(held);
    ASSERT_EQ(boxes.boxes().size(), 2u);
    EXPECT_EQ(boxes.boxes()[1].text, kUnwritable);
    EXPECT_EQ(boxes.boxes()[1].caption, L"警告");
    EXPECT_EQ(dialog.result(), IDOK);
    EXPECT_EQ(hexOf(card.read(L"DREC.INI")), hexOf(oldFile));
    EXPECT_EQ(GetFileAttributesW(path.c_str()), attributesBefore);
}
