// The restore command from the user's side: the drive dialog and the two questions
// answered as a case says, then what is on the card and which message ended it.
#include "app/AppTestFolder.h"
#include "app/ProgramPath.h"
#include "app/SdCardRestore.h"
#include "archive/FirmInfo.h"
#include "base/Exception.h"
#include "restore/RestoreInputs.h"
#include "support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

using namespace restore_test;

namespace {

constexpr int kTestCabinet = 901;      // mszip.cab
constexpr int kSettingsCabinet = 902;  // order.cab, which carries a DREC.INI of its own
constexpr int kFailingCabinet = 903;   // collision.cab, whose expansion fails on its size check
constexpr int kNoCabinet = ProgramCabinet::kResourceId;  // not in the test program

const std::wstring kPrompt = L"復元するSDメモリーカードのドライブを選択してください。";
const std::wstring kConfirm = L"本体の動作に必要なファイルをSDメモリーカードに復元します。よろしいですか？";
const std::wstring kKeepSettings =
    L"以前の感度設定と音量設定を残しますか？\r\n\r\n「はい」の場合、以前の設定内容を残します。\r\n"
    L"「いいえ」の場合、標準設定に戻します。";
const std::wstring kRestored = L"SDメモリーカードを復元しました。";
const std::wstring kPartlyWritten = L"一部のファイルが正しく書き込まれませんでした。";
const std::wstring kHeldElsewhere = L"別のSCENOVAで設定ダイアログを開いています。";
const Bytes kOldSettings = {'o', 'l', 'd'};
const Bytes kFakeViewer(4000, 0x5A);

// Answers the two questions and notes every box, leaving out the warning that another
// test program holding the lock at the same moment would cause.
class Answers {
public:
    Answers(int confirm, int keepSettings) {
        previous = setMessageBoxHandler([this, confirm, keepSettings](const std::wstring& text,
                                                                      const std::wstring& caption, UINT style, HWND) {
            if (text == kHeldElsewhere) return IDOK;
            boxes.push_back({text, caption, style, nullptr});
            if (text == kConfirm) return confirm;
            if (text == kKeepSettings) return keepSettings;
            return IDOK;
        });
    }
    ~Answers() { setMessageBoxHandler(previous); }
    Answers(const Answers&) = delete;
    Answers& operator=(const Answers&) = delete;

    std::vector<std::wstring> texts() const {
        std::vector<std::wstring> shown;
        for (const RecordedMessageBox& box : boxes) shown.push_back(box.text);
        return shown;
    }

    std::vector<RecordedMessageBox> boxes;

private:
    MessageBoxHandler previous;
};

struct Card {
    AppTestFolder scratch;
    std::wstring folder = scratch.folder(L"card");
    std::wstring temporary = scratch.path(L"Temp");
    std::wstring path(const wchar_t* name) const { return folder + L"\\" + name; }
};

bool holdsFactorySettings(const std::wstring& path) {
    FirmInfo settings;
    try {
        settings.readSettingsFile(path);
        return readFileBytes(path).size() == 6 * FirmInfo::kRecordSize && settings.threshold() == 45;
    } catch (const Exception&) {
        return false;
    }
}

std::uint64_t sizeOf(const std::wstring& path) { return readFileBytes(path).size(); }

}  // namespace

TEST(SdCardRestore, WritesWhatTheAnswersAskForAndSaysHowItWent) {
    enum class Viewer { Fake, FakeOfOtherSize, OnTheCard, ThisProgram };
    enum class Settings { Old, Factory, FromCabinet };
    using Outcome = SdCardRestore::Outcome;
    struct Case {
        const char* name;
        bool chooses;
        int confirm;
        int keepSettings;
        int cabinet;
        Viewer viewer;
        bool settingsHeldOpen;
        Outcome outcome;
        std::vector<std::wstring> boxes;
        Settings settings;
        bool members;
        bool viewerCopied;
    };
    const Case cases[] = {
        {"Yes keeps DREC.INI", true, IDOK, IDYES, kTestCabinet, Viewer::Fake, false, Outcome::Restored,
         {kConfirm, kKeepSettings, kRestored}, Settings::Old, true, true},
        {"No resets DREC.INI", true, IDOK, IDNO, kTestCabinet, Viewer::Fake, false, Outcome::Restored,
         {kConfirm, kKeepSettings, kRestored}, Settings::Factory, true, true},
        {"No writes the settings before the cabinet", true, IDOK, IDNO, kSettingsCabinet, Viewer::Fake, false,
         Outcome::Restored, {kConfirm, kKeepSettings, kRestored}, Settings::FromCabinet, false, true},
        {"No, without a cabinet", true, IDOK, IDNO, kNoCabinet, Viewer::Fake, false, Outcome::PartlyWritten,
         {kConfirm, kKeepSettings, kPartlyWritten}, Settings::Factory, false, true},
        {"Yes, without a cabinet", true, IDOK, IDYES, kNoCabinet, Viewer::Fake, false, Outcome::PartlyWritten,
         {kConfirm, kKeepSettings, kPartlyWritten}, Settings::Old, false, true},
        {"a cabinet that fails skips the viewer", true, IDOK, IDYES, kFailingCabinet, Viewer::Fake, false,
         Outcome::PartlyWritten, {kConfirm, kKeepSettings, kPartlyWritten}, Settings::Old, false, false},
        {"No while another program holds DREC.INI", true, IDOK, IDNO, kTestCabinet, Viewer::Fake, true,
         Outcome::PartlyWritten, {kConfirm, kKeepSettings, kPartlyWritten}, Settings::Old, true, true},
        {"a copied viewer whose size differs", true, IDOK, IDYES, kTestCabinet, Viewer::FakeOfOtherSize, false,
         Outcome::PartlyWritten, {kConfirm, kKeepSettings, kPartlyWritten}, Settings::Old, true, false},
        {"started from the card", true, IDOK, IDYES, kTestCabinet, Viewer::OnTheCard, false, Outcome::Restored,
         {kConfirm, kKeepSettings, kRestored}, Settings::Old, true, true},
        {"this program copied", true, IDOK, IDYES, kTestCabinet, Viewer::ThisProgram, false, Outcome::Restored,
         {kConfirm, kKeepSettings, kRestored}, Settings::Old, true, true},
        {"cancelled in the drive dialog", false, IDOK, IDNO, kTestCabinet, Viewer::Fake, false, Outcome::Cancelled,
         {}, Settings::Old, false, false},
        {"cancelled at the first question", true, IDCANCEL, IDNO, kTestCabinet, Viewer::Fake, false,
         Outcome::Cancelled, {kConfirm}, Settings::Old, false, false},
        {"cancelled at the second question", true, IDOK, IDCANCEL, kTestCabinet, Viewer::Fake, false,
         Outcome::Cancelled, {kConfirm, kKeepSettings}, Settings::Old, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Card card;
        ASSERT_TRUE(writeFileBytes(card.path(L"DREC.INI"), kOldSettings));
        std::wstring fakeViewer = c.viewer == Viewer::OnTheCard ? card.path(L"SCENOVA.exe")
                                                                : card.scratch.folder(L"program") + L"\\viewer.exe";
        ASSERT_TRUE(writeFileBytes(fakeViewer, kFakeViewer));

        SdCardRestore restore(nullptr);
        std::wstring startedAt;
        restore.setDriveChooser([&](const std::wstring& prompt, HWND, std::wstring& folder) {
            EXPECT_EQ(prompt, kPrompt);
            startedAt = folder;
            if (c.chooses) folder = card.folder;
            return c.chooses;
        });
        restore.setCabinet(ProgramCabinet(c.cabinet, card.temporary));
        // A size that could never match shows that a copy "from the card" was skipped.
        std::uint64_t declaredSize = kFakeViewer.size() + (c.viewer == Viewer::Fake ? 0 : 1);
        if (c.viewer != Viewer::ThisProgram) restore.setViewerCopy(ViewerCopy(ProgramFile{fakeViewer, declaredSize}));

        Answers answers(c.confirm, c.keepSettings);
        std::wstring drive = L"X:\\";
        {
            HANDLE holder = c.settingsHeldOpen ? CreateFileW(card.path(L"DREC.INI").c_str(), GENERIC_READ,
                                                             FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                             OPEN_EXISTING, 0, nullptr)
                                               : INVALID_HANDLE_VALUE;
            EXPECT_EQ(restore.run(drive), c.outcome);
            if (holder != INVALID_HANDLE_VALUE) CloseHandle(holder);
        }

        EXPECT_EQ(startedAt, L"X:\\");
        EXPECT_EQ(drive, c.chooses ? card.folder : L"X:\\");
        EXPECT_EQ(answers.texts(), c.boxes);
        switch (c.settings) {
        case Settings::Old: EXPECT_TRUE(readFileBytes(card.path(L"DREC.INI")) == kOldSettings); break;
        case Settings::Factory: EXPECT_TRUE(holdsFactorySettings(card.path(L"DREC.INI"))); break;
        case Settings::FromCabinet:
            EXPECT_TRUE(readFileBytes(card.path(L"DREC.INI")) == readFileBytes(input(L"members\\order\\DREC.INI")));
            break;
        }
        EXPECT_EQ(exists(card.path(L"readme.txt")), c.members);
        EXPECT_EQ(exists(card.path(L"SCENOVA.exe")), c.viewerCopied);
        if (c.viewerCopied) {
            std::uint64_t expected = c.viewer == Viewer::ThisProgram ? sizeOf(programFilePath()) : kFakeViewer.size();
            EXPECT_EQ(sizeOf(card.path(L"SCENOVA.exe")), expected);
        }
        EXPECT_EQ(treeOf(card.temporary), std::vector<std::wstring>());
    }
}

TEST(SdCardRestore, AsksAndEndsWithTheProgramsBoxes) {
    struct Case {
        const char* name;
        int cabinet;
        std::wstring endText;
        std::wstring endCaption;
        UINT endStyle;
    };
    const Case cases[] = {
        {"complete", kTestCabinet, kRestored, L"情報", MB_ICONINFORMATION},
        {"partly written", kNoCabinet, kPartlyWritten, L"警告", MB_ICONWARNING},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Card card;
        SdCardRestore restore(nullptr);
        restore.setDriveChooser([&](const std::wstring&, HWND, std::wstring& folder) {
            folder = card.folder;
            return true;
        });
        restore.setCabinet(ProgramCabinet(c.cabinet, card.temporary));
        std::wstring viewer = card.scratch.folder(L"program") + L"\\viewer.exe";
        ASSERT_TRUE(writeFileBytes(viewer, kFakeViewer));
        restore.setViewerCopy(ViewerCopy(ProgramFile{viewer, kFakeViewer.size()}));
        Answers answers(IDOK, IDYES);
        std::wstring drive;
        restore.run(drive);

        ASSERT_EQ(answers.boxes.size(), 3u);
        EXPECT_EQ(answers.boxes[0].caption, L"確認");
        EXPECT_EQ(answers.boxes[0].style, static_cast<UINT>(MB_OKCANCEL | MB_ICONQUESTION));
        EXPECT_EQ(answers.boxes[1].caption, L"確認");
        EXPECT_EQ(answers.boxes[1].style, static_cast<UINT>(MB_YESNOCANCEL | MB_ICONQUESTION));
        EXPECT_EQ(answers.boxes[2].text, c.endText);
        EXPECT_EQ(answers.boxes[2].caption, c.endCaption);
        EXPECT_EQ(answers.boxes[2].style, c.endStyle);
    }
}
