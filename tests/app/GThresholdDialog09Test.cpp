// The device settings dialog, opened on a card folder with its drive dialog answered from a
// list: what it shows of the card's FIRMINFO.DAT, how typed values, spins and buttons move
// it, and what OK writes into DREC.INI.
#include "app/GThresholdDialog09.h"

#include "app/ControlText.h"
#include "app/SettingsDialogTestSupport.h"
#include "resources/resource.h"
#include "support/MessageBoxRecorder.h"
#include "support/MessagePump.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace settings_test;

namespace {

const std::wstring kUnreadable = L"設定ファイルを読み込めません。";

// The dialog as the main window shows it, but modeless, so that the test can act in it.
class OpenDialog {
public:
    OpenDialog(HWND owner, const std::wstring& startFolder) : dialog(startFolder) {
        created = dialog.showModeless(owner, SW_SHOW) != nullptr;
    }
    ~OpenDialog() {
        if (created) DestroyWindow(dialog.handle());
    }
    OpenDialog(const OpenDialog&) = delete;
    OpenDialog& operator=(const OpenDialog&) = delete;

    HWND simple() { return dialog.simplePage().handle(); }
    HWND detailed() { return dialog.thresholdPage().handle(); }
    HWND corrections() { return dialog.correctionPage().handle(); }
    void press(int button) {
        SendMessageW(dialog.handle(), WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog.handle(), button)));
    }
    // A click on a tab, as the mouse gives it.
    void clickTab(GThresholdDialog09::Tab tab) {
        HWND tabs = GetDlgItem(dialog.handle(), IDC_GTHRESHOLD_TABS);
        RECT item = {};
        SendMessageW(tabs, TCM_GETITEMRECT, tab, reinterpret_cast<LPARAM>(&item));
        LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
        SendMessageW(tabs, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(tabs, WM_LBUTTONUP, 0, at);
    }
    int listSelection(int list) {
        return static_cast<int>(SendDlgItemMessageW(dialog.handle(), list, CB_GETCURSEL, 0, 0));
    }
    bool automaticChecked() {
        return SendDlgItemMessageW(corrections(), IDC_PAGE2EX_AUTOMATIC, BM_GETCHECK, 0, 0) == BST_CHECKED;
    }

    GThresholdDialog09 dialog;
    bool created = false;
};

class GThresholdDialog09Test : public ::testing::Test {
protected:
    void SetUp() override {
        initCommonControls();
        owner = makeOwnerWindow();
    }
    void TearDown() override { DestroyWindow(owner); }

    // Opens the dialog and waits until it has asked for the card's drive.
    std::unique_ptr<OpenDialog> open(const DriveAnswers& drives) {
        auto shown = std::make_unique<OpenDialog>(owner, start);
        EXPECT_TRUE(shown->created);
        EXPECT_TRUE(pumpMessagesUntil([&] { return !drives.prompts.empty(); }, 10000)) << "the drive was not asked for";
        return shown;
    }

    HWND owner = nullptr;
    const std::wstring start = L"C:\\";
};

void expectSettings(const DeviceSettings& shown, const DeviceSettings& expected, const char* name) {
    EXPECT_EQ(shown.threshold, expected.threshold) << name;
    EXPECT_EQ(shown.lateralCorrection, expected.lateralCorrection) << name;
    EXPECT_EQ(shown.directionAngle, expected.directionAngle) << name;
    EXPECT_EQ(shown.overwrite, expected.overwrite) << name;
    EXPECT_EQ(shown.operationBuzzer, expected.operationBuzzer) << name;
    EXPECT_EQ(shown.eventBuzzer, expected.eventBuzzer) << name;
}

DeviceSettings settingsOf(int threshold, int lateral, int angle, bool overwrite, DeviceSettings::Volume operation,
                          DeviceSettings::Volume event) {
    DeviceSettings s;
    s.threshold = threshold;
    s.lateralCorrection = lateral;
    s.directionAngle = angle;
    s.overwrite = overwrite;
    s.operationBuzzer = operation;
    s.eventBuzzer = event;
    return s;
}

constexpr int kAuto = FirmInfo::kAutomaticAngle;
constexpr auto kNormal = DeviceSettings::kNormalVolume;
constexpr auto kLoud = DeviceSettings::kLoudVolume;
constexpr auto kOff = DeviceSettings::kVolumeOff;

}  // namespace

TEST_F(GThresholdDialog09Test, ACardBetweenTwoLevelsOpensOnTheDetailedTabAndShowsTheLevelWithAStar) {
    ScratchFolder card;
    card.write(L"FIRMINFO.DAT", sampleFirmwareInfo());
    MessageBoxRecorder boxes;
    DriveAnswers drives({card.path()});
    auto shown = open(drives);

    EXPECT_EQ(drives.prompts, std::vector<std::wstring>{kDrivePrompt});
    EXPECT_TRUE(boxes.boxes().empty());
    EXPECT_TRUE(shown->dialog.settingsWereRead());
    EXPECT_EQ(shown->dialog.driveFolder(), card.path());
    EXPECT_EQ(shown->dialog.selectedTab(), GThresholdDialog09::kDetailedTab);
    EXPECT_TRUE(IsWindowVisible(shown->detailed()) && IsWindowVisible(shown->corrections()));
    EXPECT_FALSE(IsWindowVisible(shown->simple()));
    EXPECT_EQ(textOf(GetDlgItem(shown->detailed(), IDC_PAGE2_VALUE)), L"0.50");
    EXPECT_EQ(textOf(GetDlgItem(shown->corrections(), IDC_PAGE2EX_LATERAL)), L"0.12");
    EXPECT_EQ(textOf(GetDlgItem(shown->corrections(), IDC_PAGE2EX_ANGLE)), L"-5");
    EXPECT_FALSE(shown->automaticChecked());
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(shown->corrections(), IDC_PAGE2EX_ANGLE)));
    expectSettings(shown->dialog.shownSettings(), settingsOf(50, 12, -5, true, kNormal, kLoud), "sample card");

    shown->clickTab(GThresholdDialog09::kSimpleTab);
    EXPECT_TRUE(IsWindowVisible(shown->simple()));
    EXPECT_FALSE(IsWindowVisible(shown->detailed()) || IsWindowVisible(shown->corrections()));
    EXPECT_EQ(shown->dialog.simplePage().levelText(), L"4*");
    EXPECT_EQ(shown->dialog.simplePage().position(), 7);

    // One step right from between levels 4 and 5 reaches level 5, which the detailed tab takes.
    SendDlgItemMessageW(shown->simple(), IDC_PAGE1_TRACK, WM_KEYDOWN, VK_RIGHT, 0);
    SendDlgItemMessageW(shown->simple(), IDC_PAGE1_TRACK, WM_KEYUP, VK_RIGHT, 0);
    EXPECT_EQ(shown->dialog.simplePage().levelText(), L"5");
    shown->clickTab(GThresholdDialog09::kDetailedTab);
    EXPECT_EQ(textOf(GetDlgItem(shown->detailed(), IDC_PAGE2_VALUE)), L"0.48");
}

TEST_F(GThresholdDialog09Test, ShowsWhatTheCardReportsAndTheFactorySettingsForTheRest) {
    struct Case {
        const char* name;
        Bytes firmwareInfo;
        DeviceSettings expected;
        GThresholdDialog09::Tab tab;
    } cases[] = {
        {"a level, overwrite off, both buzzers off",
         firmwareInfo({dataRecord(0x0801, {0x00, 0x45}), dataRecord(0x1801, {0x00}), dataRecord(0x0301, {0x02}),
                       dataRecord(0x0304, {0x02})}),
         settingsOf(45, 10, kAuto, false, kOff, kOff), GThresholdDialog09::kSimpleTab},
        {"the most sensitive level, lateral 0.30, angle -45",
         firmwareInfo({dataRecord(0x0801, {0x00, 0x40}), dataRecord(0x0811, {0x00, 0x30}), dataRecord(0x0812, {0x01, 0x45})}),
         settingsOf(40, 30, -45, true, kNormal, kNormal), GThresholdDialog09::kSimpleTab},
        {"only keys the dialog does not show", firmwareInfo({dataRecord(0x2001, {0x12, 0x34})}),
         settingsOf(45, 10, kAuto, true, kNormal, kNormal), GThresholdDialog09::kSimpleTab},
        {"values beyond the controls' ranges end at their limits",
         firmwareInfo({dataRecord(0x0801, {0x00, 0x70}), dataRecord(0x0811, {0x00, 0x95}), dataRecord(0x0304, {0x07})}),
         settingsOf(60, 30, kAuto, true, kNormal, kNormal), GThresholdDialog09::kDetailedTab},
        {"a threshold below the range", firmwareInfo({dataRecord(0x0801, {0x00, 0x30})}),
         settingsOf(40, 10, kAuto, true, kNormal, kNormal), GThresholdDialog09::kDetailedTab},
    };
    for (const Case& c : cases) {
        ScratchFolder card;
        card.write(L"FIRMINFO.DAT", c.firmwareInfo);
        MessageBoxRecorder boxes;
        DriveAnswers drives({card.path()});
        auto shown = open(drives);
        EXPECT_TRUE(boxes.boxes().empty()) << c.name;
        EXPECT_TRUE(shown->dialog.settingsWereRead()) << c.name;
        EXPECT_EQ(shown->dialog.selectedTab(), c.tab) << c.name;
        expectSettings(shown->dialog.shownSettings(), c.expected, c.name);
    }
}

TEST_F(GThresholdDialog09Test, WithoutReadableFirmwareInfoItWarnsKeepsTheDefaultsAndOkAsksForTheDriveAgain) {
    struct Case {
        const char* name;
        const wchar_t* file;  // nullptr: no FIRMINFO.DAT
        Bytes bytes;
    } cases[] = {
        {"no FIRMINFO.DAT", nullptr, {}},
        {"another recorder family's code 03 13", L"FIRMINFO.DAT", firmwareInfo({dataRecord(0x0801, {0x00, 0x50})},
                                                                               headerRecord(0x03, 0x13))},
        {"cut off inside the prefix", L"FIRMINFO.DAT", Bytes(10, 0x00)},
    };
    for (const Case& c : cases) {
        ScratchFolder card;
        if (c.file != nullptr) card.write(c.file, c.bytes);
        MessageBoxRecorder boxes;
        DriveAnswers drives({card.path(), card.path()});
        auto shown = open(drives);

        ASSERT_EQ(boxes.boxes().size(), 1u) << c.name;
        EXPECT_EQ(boxes.boxes()[0].text, kUnreadable) << c.name;
        EXPECT_EQ(boxes.boxes()[0].caption, L"警告") << c.name;
        EXPECT_EQ(boxes.boxes()[0].style & MB_ICONMASK, static_cast<UINT>(MB_ICONWARNING)) << c.name;
        EXPECT_FALSE(shown->dialog.settingsWereRead()) << c.name;
        EXPECT_EQ(shown->dialog.selectedTab(), GThresholdDialog09::kSimpleTab) << c.name;
        EXPECT_EQ(shown->dialog.simplePage().levelText(), L"6") << c.name;
        EXPECT_EQ(textOf(GetDlgItem(shown->detailed(), IDC_PAGE2_VALUE)), L"0.45") << c.name;
        EXPECT_EQ(textOf(GetDlgItem(shown->corrections(), IDC_PAGE2EX_LATERAL)), L"0.10") << c.name;
        EXPECT_TRUE(shown->automaticChecked()) << c.name;
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(shown->corrections(), IDC_PAGE2EX_ANGLE))) << c.name;
        EXPECT_EQ(textOf(GetDlgItem(shown->dialog.handle(), IDC_GTHRESHOLD_OVERWRITE)), L"する") << c.name;
        EXPECT_EQ(textOf(GetDlgItem(shown->dialog.handle(), IDC_GTHRESHOLD_OPERATION_BUZZER)), L"標準") << c.name;
        EXPECT_EQ(textOf(GetDlgItem(shown->dialog.handle(), IDC_GTHRESHOLD_EVENT_BUZZER)), L"標準") << c.name;

        shown->press(IDOK);
        EXPECT_EQ(drives.prompts, (std::vector<std::wstring>{kDrivePrompt, kDrivePrompt})) << c.name;
        ASSERT_EQ(boxes.boxes().size(), 3u) << c.name;
        EXPECT_EQ(boxes.boxes()[1].text, kWriteQuestion) << c.name;
        EXPECT_EQ(boxes.boxes()[2].text, kWritten) << c.name;
        EXPECT_EQ(shown->dialog.result(), IDOK) << c.name;
        FirmInfo written;
        written.readSettingsFile(card.file(L"DREC.INI"));
        EXPECT_EQ(written, settingsOf(45, 10, kAuto, true, kNormal, kNormal).records()) << c.name;
    }
}

TEST_F(GThresholdDialog09Test, NothingIsWrittenUnlessADriveIsChosenAndTheQuestionAnsweredWithOk) {
    const Bytes oldFile = join({headerRecord(), dataRecord(0x0801, {0x00, 0x55})});
    struct Case {
        const char* name;
        std::deque<std::wstring> drives;  // "" cancels; "card" stands for the card folder
        int answer;                       // to every message box
        int button;
        INT_PTR result;                   // 0: the dialog stays
    } cases[] = {
        {"the drive dialog cancelled at the start and at OK", {L"", L""}, IDOK, IDOK, 0},
        {"the write question answered Cancel", {L"card"}, IDCANCEL, IDOK, 0},
        {"the Cancel button", {L"card"}, IDOK, IDCANCEL, IDCANCEL},
    };
    for (const Case& c : cases) {
        ScratchFolder card;
        card.write(L"DREC.INI", oldFile);
        std::deque<std::wstring> answers;
        for (const std::wstring& answer : c.drives) answers.push_back(answer == L"card" ? card.path() : answer);
        MessageBoxRecorder boxes(c.answer);
        DriveAnswers drives(answers);
        auto shown = open(drives);
        shown->press(c.button);
        EXPECT_EQ(shown->dialog.result(), c.result) << c.name;
        EXPECT_EQ(card.read(L"DREC.INI"), oldFile) << c.name;
        for (const RecordedMessageBox& box : boxes.boxes()) EXPECT_NE(box.text, kWritten) << c.name;
    }
}

TEST_F(GThresholdDialog09Test, TypedValuesAreClampedAndJunkBringsBackThePreviousValue) {
    struct Case {
        const char* name;
        bool correctionsPage;
        int edit;
        std::wstring typed;
        std::wstring shown;
    } cases[] = {
        {"threshold above the range", false, IDC_PAGE2_VALUE, L"0.7", L"0.60"},
        {"threshold below the range", false, IDC_PAGE2_VALUE, L"0.3", L"0.40"},
        {"threshold in range, blanks around", false, IDC_PAGE2_VALUE, L" 0.52 ", L"0.52"},
        {"threshold with a third decimal", false, IDC_PAGE2_VALUE, L"0.559", L"0.55"},
        {"threshold with a letter after it", false, IDC_PAGE2_VALUE, L"0.5x", L"0.45"},
        {"threshold that is no number", false, IDC_PAGE2_VALUE, L"abc", L"0.45"},
        {"threshold NaN", false, IDC_PAGE2_VALUE, L"nan", L"0.45"},
        {"threshold emptied", false, IDC_PAGE2_VALUE, L"", L"0.45"},
        {"lateral above the range", true, IDC_PAGE2EX_LATERAL, L"0.5", L"0.30"},
        {"lateral below zero", true, IDC_PAGE2EX_LATERAL, L"-1", L"0.00"},
        {"lateral in range", true, IDC_PAGE2EX_LATERAL, L"0.07", L"0.07"},
        {"lateral with junk", true, IDC_PAGE2EX_LATERAL, L"0.12abc", L"0.10"},
        {"angle 46", true, IDC_PAGE2EX_ANGLE, L"46", L"45"},
        {"angle -46", true, IDC_PAGE2EX_ANGLE, L"-46", L"-45"},
        {"angle in range", true, IDC_PAGE2EX_ANGLE, L"-7", L"-7"},
        {"angle with a fraction", true, IDC_PAGE2EX_ANGLE, L"12.5", L"3"},
        {"angle emptied", true, IDC_PAGE2EX_ANGLE, L"", L"3"},
        {"angle far beyond a long", true, IDC_PAGE2EX_ANGLE, L"99999999999999999999", L"45"},
    };
    // One dialog for all cases (a dialog window takes a while to go under Wine), set back to
    // 0.45 G, 0.10 G and 3 degrees before each.
    MessageBoxRecorder boxes;
    DriveAnswers drives({L""});
    auto shown = open(drives);
    for (const Case& c : cases) {
        shown->dialog.showSettings(settingsOf(45, 10, 3, true, kNormal, kNormal));
        HWND page = c.correctionsPage ? shown->corrections() : shown->detailed();
        leaveEdit(page, c.edit, c.typed);
        EXPECT_EQ(textOf(GetDlgItem(page, c.edit)), c.shown) << c.name;
        // The control behind the edit took the same value.
        DeviceSettings now = shown->dialog.shownSettings();
        std::wstring behind = c.edit == IDC_PAGE2_VALUE       ? hundredthsText(now.threshold)
                              : c.edit == IDC_PAGE2EX_LATERAL ? hundredthsText(now.lateralCorrection)
                                                              : std::to_wstring(now.directionAngle);
        EXPECT_EQ(behind, c.shown) << c.name;
    }
}

TEST_F(GThresholdDialog09Test, SpinsButtonsAndTheLevelTrackBarMoveTheValues) {
    struct Case {
        const char* name;
        std::function<void(OpenDialog&)> act;
        int threshold;
        int lateral;
        int angle;
        const wchar_t* level;
    } cases[] = {
        {"threshold spin up", [](OpenDialog& d) { clickSpin(GetDlgItem(d.detailed(), IDC_PAGE2_SPIN), true); }, 46, 10,
         kAuto, L"6"},
        {"threshold spin down", [](OpenDialog& d) { clickSpin(GetDlgItem(d.detailed(), IDC_PAGE2_SPIN), false); }, 44,
         10, kAuto, L"6"},
        {"lateral spin up",
         [](OpenDialog& d) { clickSpin(GetDlgItem(d.corrections(), IDC_PAGE2EX_LATERAL_SPIN), true); }, 45, 11, kAuto,
         L"6"},
        {"automatic learning unchecked, angle spin down",
         [](OpenDialog& d) {
             SendDlgItemMessageW(d.corrections(), IDC_PAGE2EX_AUTOMATIC, BM_CLICK, 0, 0);
             clickSpin(GetDlgItem(d.corrections(), IDC_PAGE2EX_ANGLE_SPIN), false);
         },
         45, 10, -1, L"6"},
        {"automatic learning checked again",
         [](OpenDialog& d) {
             d.dialog.correctionPage().setDirectionAngle(20);
             SendDlgItemMessageW(d.corrections(), IDC_PAGE2EX_AUTOMATIC, BM_CLICK, 0, 0);
         },
         45, 10, kAuto, L"6"},
        {"高感度", [](OpenDialog& d) { d.press(IDC_GTHRESHOLD_HIGH); }, 40, 10, kAuto, L"11"},
        {"標準 after 高感度",
         [](OpenDialog& d) {
             d.press(IDC_GTHRESHOLD_HIGH);
             d.press(IDC_GTHRESHOLD_STANDARD);
         },
         45, 10, kAuto, L"6"},
        {"level track bar one step right",
         [](OpenDialog& d) {
             SendDlgItemMessageW(d.simple(), IDC_PAGE1_TRACK, WM_KEYDOWN, VK_RIGHT, 0);
             SendDlgItemMessageW(d.simple(), IDC_PAGE1_TRACK, WM_KEYUP, VK_RIGHT, 0);
         },
         44, 10, kAuto, L"7"},
        {"level track bar dragged onto an odd position",
         [](OpenDialog& d) {
             HWND track = GetDlgItem(d.simple(), IDC_PAGE1_TRACK);
             SendMessageW(track, TBM_SETPOS, TRUE, 3);
             SendMessageW(d.simple(), WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 3), reinterpret_cast<LPARAM>(track));
         },
         54, 10, kAuto, L"3"},
    };
    MessageBoxRecorder boxes;
    DriveAnswers drives({L""});
    auto shown = open(drives);
    for (const Case& c : cases) {
        shown->dialog.showSettings(DeviceSettings());
        c.act(*shown);
        DeviceSettings now = shown->dialog.shownSettings();
        EXPECT_EQ(now.threshold, c.threshold) << c.name;
        EXPECT_EQ(textOf(GetDlgItem(shown->detailed(), IDC_PAGE2_VALUE)), hundredthsText(c.threshold)) << c.name;
        EXPECT_EQ(now.lateralCorrection, c.lateral) << c.name;
        EXPECT_EQ(now.directionAngle, c.angle) << c.name;
        EXPECT_EQ(shown->dialog.simplePage().levelText(), c.level) << c.name;
    }
}

TEST_F(GThresholdDialog09Test, OkWritesTheShownValuesAfterTheNewRecordsKeepsTheOthers) {
    ScratchFolder card;
    card.write(L"FIRMINFO.DAT", sampleFirmwareInfo());
    card.write(L"DREC.INI", join({headerRecord(), dataRecord(0x0101, {0x26, 0x01, 0x02, 0x03, 0x04}),  // clock
                                  dataRecord(0x0801, {0x00, 0x45}),                                  // replaced
                                  dataRecord(0x2001, {0x12, 0x34})}));  // a key the dialog does not know
    MessageBoxRecorder boxes;
    DriveAnswers drives({card.path()});
    auto shown = open(drives);

    // Typed, then OK with Enter: the focus never left the edit, and the typed value counts.
    SetWindowTextW(GetDlgItem(shown->detailed(), IDC_PAGE2_VALUE), L"0.52");
    SendDlgItemMessageW(shown->dialog.handle(), IDC_GTHRESHOLD_OPERATION_BUZZER, CB_SETCURSEL, DeviceSettings::kVolumeOff, 0);
    shown->press(IDOK);

    EXPECT_EQ(drives.prompts.size(), 1u) << "the card was read, so OK does not ask again";
    ASSERT_EQ(boxes.boxes().size(), 2u);
    EXPECT_EQ(boxes.boxes()[0].text, kWriteQuestion);
    EXPECT_EQ(boxes.boxes()[0].caption, L"確認");
    EXPECT_EQ(boxes.boxes()[0].style, static_cast<UINT>(MB_OKCANCEL | MB_ICONQUESTION));
    EXPECT_EQ(boxes.boxes()[1].text, kWritten);
    EXPECT_EQ(boxes.boxes()[1].caption, L"情報");
    EXPECT_EQ(boxes.boxes()[1].style & MB_ICONMASK, static_cast<UINT>(MB_ICONINFORMATION));
    EXPECT_EQ(shown->dialog.result(), IDOK);
    const Bytes expected = join({headerRecord(),
                                 dataRecord(0x0801, {0x00, 0x52}),  // threshold 0.52 G
                                 dataRecord(0x0802, {0x10}), dataRecord(0x0803, {0x20}), dataRecord(0x0804, {0x04}),
                                 dataRecord(0x1801, {0x01}),        // overwrite
                                 dataRecord(0x0301, {0x02}),        // operation buzzer off
                                 dataRecord(0x0304, {0x01}),        // event buzzer loud, from the card
                                 dataRecord(0x0811, {0x00, 0x12}),  // lateral 0.12 G
                                 dataRecord(0x0812, {0x01, 0x05}),  // -5 degrees
                                 dataRecord(0x0101, {0x26, 0x01, 0x02, 0x03, 0x04}), dataRecord(0x2001, {0x12, 0x34})});
    EXPECT_EQ(hexOf(card.read(L"DREC.INI")), hexOf(expected));
    EXPECT_TRUE(isHiddenReadOnly(card.file(L"DREC.INI")));
}

TEST_F(GThresholdDialog09Test, AFailedWriteWarnsAndKeepsDrecIniByteForByte) {
    ScratchFolder card;
    card.write(L"FIRMINFO.DAT", sampleFirmwareInfo());
    const Bytes oldFile = join({headerRecord(), dataRecord(0x0801, {0x00, 0x55}), dataRecord(0x2001, {0x12, 0x34})});
    std::wstring path = card.write(L"DREC.INI", oldFile);
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
    DWORD attributesBefore = GetFileAttributesW(path.c_str());
    MessageBoxRecorder boxes;
    DriveAnswers drives({card.path()});
    auto shown = open(drives);
    {
        // Another program holds the file open: it can be neither replaced nor deleted.
        HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        shown->press(IDOK);
        CloseHandle(held);
    }
    ASSERT_EQ(boxes.boxes().size(), 2u);
    EXPECT_EQ(boxes.boxes()[1].text, kUnwritable);
    EXPECT_EQ(boxes.boxes()[1].caption, L"警告");
    EXPECT_EQ(boxes.boxes()[1].style & MB_ICONMASK, static_cast<UINT>(MB_ICONWARNING));
    EXPECT_EQ(shown->dialog.result(), IDOK);
    EXPECT_EQ(hexOf(card.read(L"DREC.INI")), hexOf(oldFile));
    EXPECT_EQ(GetFileAttributesW(path.c_str()), attributesBefore);
    EXPECT_EQ(card.names().size(), 2u) << "no temporary file is left beside DREC.INI";
}
