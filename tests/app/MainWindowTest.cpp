// The main window: its frame, menu and sizes, the display-mode rule when a folder opens,
// previous/next record, the caption and the close request.
#include "app/AppTestFolder.h"
#include "app/MainWindow.h"
#include "playback/Thumbnail.h"
#include "playback/VideoPlayer.h"
#include "support/MainWindowFixture.h"
#include "support/MessageBoxRecorder.h"
#include "support/PlayerRecords.h"

#include <gtest/gtest.h>

namespace {

const std::wstring kWarning = L"警告";
const std::wstring kNoUsableData = L"該当データは存在しません。";
const std::wstring kNoNext = L"次の記録データはありません。";
const std::wstring kNoPrevious = L"前の記録データはありません。";
const std::wstring kFolderGone = L"現在開いているフォルダが移動または削除されました。";
const std::wstring kQuestion = L"確認";
const std::wstring kCloseQuestion = L"SCENOVAを終了しますか？";

// A file of the given kind, with real recorded content so that the player can open it.
void writeRecordFile(const std::wstring& folder, const std::wstring& name) {
    bool written = true;
    if (name == L"Video.dvt")
        written = writeEventRecord(folder, 12, false);
    else if (name.size() > 4 && name.compare(name.size() - 4, 4, L".dmv") == 0)
        written = writeChapter(folder + L"\\" + name, 12);
    else if (name.size() > 4 && name.compare(name.size() - 4, 4, L".dpc") == 0)
        written = writeImageRecord(folder + L"\\" + name, 200, 40, 40);
    else
        CloseHandle(CreateFileW((folder + L"\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    EXPECT_TRUE(written) << "writing a record file";
}

using MainWindowTest = MainWindowFixture;

SIZE windowSizeOf(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace

TEST(MainWindowFrame, SizeFollowsTheWindowsVersion) {
    struct Case {
        DWORD major;
        SIZE size;
        SIZE minimum;
    } cases[] = {
        {5, {1026, 723}, {1024, 720}},
        {6, {1034, 728}, {1024, 726}},
        {10, {1026, 723}, {1024, 720}},
    };
    for (const Case& c : cases) {
        pretendWindowsVersion(c.major);
        MainWindow* window = new MainWindow();
        HWND handle = window->handle();
        SIZE size = windowSizeOf(handle);
        EXPECT_EQ(size.cx, c.size.cx) << "major " << c.major;
        EXPECT_EQ(size.cy, c.size.cy) << "major " << c.major;

        // Shrinking below the minimum stops at it, and the picture keeps the space the
        // side columns, the console and the bottom strip leave.
        SetWindowPos(handle, nullptr, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER);
        size = windowSizeOf(handle);
        EXPECT_EQ(size.cx, c.minimum.cx) << "major " << c.major;
        EXPECT_EQ(size.cy, c.minimum.cy) << "major " << c.major;
        RECT client;
        GetClientRect(handle, &client);
        const PanelPlace& picture = window->layout().videoPlayer;
        EXPECT_EQ(picture.x, 185) << "major " << c.major;
        EXPECT_EQ(picture.y, 0) << "major " << c.major;
        EXPECT_EQ(picture.width, client.right - 370) << "major " << c.major;
        EXPECT_EQ(picture.height, client.bottom - 182) << "major " << c.major;
        RECT shown;
        GetClientRect(window->videoPlayer()->handle(), &shown);
        EXPECT_EQ(shown.right, client.right - 370) << "major " << c.major << ": the player is where the layout says";
        EXPECT_EQ(shown.bottom, client.bottom - 182) << "major " << c.major;
        DestroyWindow(handle);
    }
    MSG quit;
    while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

TEST_F(MainWindowTest, FrameMenuAndCaption) {
    wchar_t className[64];
    GetClassNameW(handle, className, 64);
    EXPECT_STREQ(className, L"MainWindow");
    EXPECT_EQ(GetWindowLongW(handle, GWL_STYLE) & 0x02CF0000, 0x02CF0000);
    EXPECT_EQ(GetWindowLongW(handle, GWL_EXSTYLE) & 0x10300, 0x10300);
    wchar_t caption[64];
    GetWindowTextW(handle, caption, 64);
    EXPECT_STREQ(caption, L"SCENOVA");

    HMENU menu = GetMenu(handle);
    ASSERT_NE(menu, nullptr);
    struct Entry {
        UINT id;
        const wchar_t* text;
    } entries[] = {
        {40004, L"開く(&O)..."},     {40005, L"終了(&X)"},           {40012, L"本体設定(&S)..."},
        {40015, L"日時設定(&C)..."}, {40019, L"ヘルプ(&H)..."}, {40020, L"バージョン情報(&A)..."},
    };
    for (const Entry& e : entries) {
        wchar_t text[64] = {};
        EXPECT_GT(GetMenuStringW(menu, e.id, text, 64, MF_BYCOMMAND), 0) << "command " << e.id;
        EXPECT_STREQ(text, e.text) << "command " << e.id;
    }
    EXPECT_EQ(GetMenuStringW(menu, 40024, nullptr, 0, MF_BYCOMMAND), 0) << "the restore command has no menu entry";
}

TEST(MainWindowCaption, NamesModeFolderAndApplication) {
    std::wstring longFolder = L"C:\\" + std::wstring(1100, L'x');
    struct Case {
        const char* name;
        bool loaded;
        int mode;
        std::wstring folder;
        std::wstring expected;
    } cases[] = {
        {"nothing loaded", false, 0, L"C:\\card\\EVENT\\EVT00001", L"SCENOVA"},
        {"event", true, 0, L"C:\\card\\EVENT\\EVT00001", L"イベント記録表示モード C:\\card\\EVENT\\EVT00001 - SCENOVA"},
        {"image", true, 1, L"C:\\card\\IMAGE\\IMG00001", L"画像記録表示モード C:\\card\\IMAGE\\IMG00001 - SCENOVA"},
        {"continuous", true, 2, L"D:\\CONTINUE\\CNT00001", L"連続記録表示モード D:\\CONTINUE\\CNT00001 - SCENOVA"},
        {"format fields in the folder stay text", true, 0, L"C:\\%s%d", L"イベント記録表示モード C:\\%s%d - SCENOVA"},
        {"long folder", true, 0, longFolder, (L"イベント記録表示モード " + longFolder).substr(0, 1023)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MainWindow::captionText(c.loaded, c.mode, c.folder, L"SCENOVA"), c.expected) << c.name;
}

TEST_F(MainWindowTest, ClosingWithNothingLoadedEndsAtOnce) {
    MessageBoxRecorder boxes(IDCANCEL);
    SendMessageW(handle, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_TRUE(boxes.boxes().empty());
    MSG quit;
    ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the loop is told to end";
    EXPECT_EQ(quit.wParam, 0u);
}

TEST_F(MainWindowTest, TheExitCommandCloses) {
    MessageBoxRecorder boxes(IDCANCEL);
    SendMessageW(handle, WM_COMMAND, MAKEWPARAM(MainWindow::kExitCommand, 0), 0);
    EXPECT_FALSE(IsWindow(handle));
}

TEST_F(MainWindowTest, DisplayModeFollowsTheFolderContent) {
    struct Case {
        const char* name;
        std::vector<const wchar_t*> files;
        int chosen;
        int expectedMode;
        bool usable;
    } cases[] = {
        {"event and image, event chosen", {L"Video.dvt", L"IMG00001.dpc"}, 0, 0, true},
        {"event and image, image chosen", {L"Video.dvt", L"IMG00001.dpc"}, 1, 1, true},
        {"event and image, continuous chosen", {L"Video.dvt", L"IMG00001.dpc"}, 2, 0, false},
        {"only images, event chosen", {L"IMG00001.dpc", L"IMG00002.dpc"}, 0, 1, true},
        {"only images, image chosen", {L"IMG00001.dpc"}, 1, 1, true},
        {"only images, continuous chosen", {L"IMG00001.dpc"}, 2, 1, true},
        {"only chapters, event chosen", {L"Video0000.dmv"}, 0, 2, true},
        {"nothing usable", {L"VideoInf.dat", L"readme.txt"}, 1, 0, false},
    };
    int index = 0;
    for (const Case& c : cases) {
        std::wstring folder = tree.folder(L"case" + std::to_wstring(index++));
        MessageBoxRecorder boxes;
        for (const wchar_t* name : c.files) writeRecordFile(folder, name);
        window->setDisplayMode(c.chosen);
        window->loadFolder(folder);
        EXPECT_EQ(window->displayMode(), c.expectedMode) << c.name;
        EXPECT_EQ(window->currentFolder(), folder) << c.name;
        bool warned = false;
        for (const RecordedMessageBox& box : boxes.boxes()) {
            if (box.text != kNoUsableData) continue;
            warned = true;
            EXPECT_EQ(box.caption, kWarning) << c.name;
            EXPECT_EQ(box.style, UINT(MB_ICONWARNING)) << c.name;
            EXPECT_EQ(box.owner, handle) << c.name;
        }
        EXPECT_EQ(warned, !c.usable) << c.name;
        EXPECT_EQ(boxes.boxes().size(), c.usable ? 0u : 1u) << c.name << ": no other warning";
    }
}

TEST_F(MainWindowTest, AdjacentRecordMovesOrWarns) {
    MessageBoxRecorder quiet;
    for (const wchar_t* name : {L"a", L"B", L"c"}) {
        std::wstring folder = tree.folder(std::wstring(L"EVENT\\") + name);
        writeRecordFile(folder, L"VideoInf.dat");
        writeRecordFile(folder, L"Video.dvt");
    }
    tree.folder(L"EVENT\\d");  // no record: the move from c fails
    struct Case {
        const char* name;
        const wchar_t* from;
        bool previous;
        const wchar_t* to;  // the folder open afterwards
        const std::wstring* warning;
    } cases[] = {
        {"next of B", L"B", false, L"c", nullptr},
        {"previous of B", L"B", true, L"a", nullptr},
        {"previous of the first", L"a", true, L"a", &kNoPrevious},
        {"next into a folder without record", L"c", false, L"c", &kNoNext},
        {"name differing only in case", L"b", false, L"b", &kNoNext},
    };
    for (const Case& c : cases) {
        window->loadFolder(tree.path(std::wstring(L"EVENT\\") + c.from));
        MessageBoxRecorder boxes;
        window->goToAdjacentRecord(c.previous);
        EXPECT_EQ(window->currentFolder(), tree.path(std::wstring(L"EVENT\\") + c.to)) << c.name;
        if (c.warning == nullptr) {
            EXPECT_TRUE(boxes.boxes().empty()) << c.name;
            continue;
        }
        ASSERT_EQ(boxes.boxes().size(), 1u) << c.name;
        EXPECT_EQ(boxes.boxes()[0].text, *c.warning) << c.name;
        EXPECT_EQ(boxes.boxes()[0].caption, kWarning) << c.name;
        EXPECT_EQ(boxes.boxes()[0].style, UINT(MB_ICONWARNING)) << c.name;
    }
}

TEST_F(MainWindowTest, AVanishedFolderClearsTheDisplay) {
    MessageBoxRecorder boxes;
    std::wstring images = tree.folder(L"IMAGE\\IMG00001");
    writeRecordFile(images, L"IMG00001.dpc");
    window->loadFolder(images);
    ASSERT_EQ(window->displayMode(), 1);
    ASSERT_TRUE(pumpMessagesUntil([&] { return window->thumbnailStrip()->isDone(); }, 30000));
    ASSERT_TRUE(boxes.boxes().empty());
    EXPECT_EQ(captionOf(handle), L"画像記録表示モード " + images + L" - SCENOVA");
    // Like a card pulled out: the files go (the player lets go of its file first, which
    // the system needs before it deletes it).
    window->videoPlayer()->close();
    AppTestFolder::removeTree(tree.path(L"IMAGE"));
    ASSERT_EQ(GetFileAttributesW(images.c_str()), INVALID_FILE_ATTRIBUTES);

    window->goToAdjacentRecord(false);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, kFolderGone);
    EXPECT_EQ(boxes.boxes()[0].caption, kWarning);
    EXPECT_EQ(window->displayMode(), 0) << "the display falls back to event mode";
    EXPECT_FALSE(window->isDataLoaded());
    wchar_t caption[64];
    GetWindowTextW(handle, caption, 64);
    EXPECT_STREQ(caption, L"SCENOVA");
}

TEST_F(MainWindowTest, AnOpenRecordNamesItselfInTheCaptionAndClosingAsksFirst) {
    MessageBoxRecorder quiet;
    std::wstring events = tree.folder(L"EVENT\\EVT00001");
    writeRecordFile(events, L"Video.dvt");
    window->loadFolder(events);
    ASSERT_TRUE(quiet.boxes().empty());
    ASSERT_TRUE(window->isDataLoaded());
    EXPECT_EQ(captionOf(handle), L"イベント記録表示モード " + events + L" - SCENOVA");
    EXPECT_EQ(window->videoPlayer()->playState(), VideoPlayer::Playing) << "an event record starts playing";

    {
        MessageBoxRecorder cancel(IDCANCEL);
        SendMessageW(handle, WM_CLOSE, 0, 0);
        ASSERT_EQ(cancel.boxes().size(), 1u);
        EXPECT_EQ(cancel.boxes()[0].text, kCloseQuestion);
        EXPECT_EQ(cancel.boxes()[0].caption, kQuestion);
        EXPECT_EQ(cancel.boxes()[0].style, UINT(MB_OKCANCEL | MB_ICONQUESTION));
        EXPECT_EQ(cancel.boxes()[0].owner, handle);
    }
    ASSERT_TRUE(IsWindow(handle)) << "Cancel keeps the window";
    EXPECT_TRUE(window->isDataLoaded()) << "Cancel keeps the record";
    EXPECT_EQ(window->videoPlayer()->playState(), VideoPlayer::Paused) << "playback stays paused";
    EXPECT_EQ(captionOf(handle), L"イベント記録表示モード " + events + L" - SCENOVA");

    MessageBoxRecorder confirm(IDOK);
    SendMessageW(handle, WM_CLOSE, 0, 0);
    EXPECT_EQ(confirm.boxes().size(), 1u);
    EXPECT_FALSE(IsWindow(handle)) << "OK closes";
}

TEST_F(MainWindowTest, AContinuousFolderPlaysItsChapters) {
    MessageBoxRecorder quiet;
    std::wstring chapters = tree.folder(L"CONTINUE\\CNT00001");
    writeRecordFile(chapters, L"Video0000.dmv");
    writeRecordFile(chapters, L"Video0001.dmv");
    window->setDisplayMode(0);
    window->loadFolder(chapters);
    EXPECT_TRUE(quiet.boxes().empty());
    EXPECT_EQ(window->displayMode(), 2);
    EXPECT_EQ(window->videoPlayer()->chapterCount(), 2);
    EXPECT_EQ(captionOf(handle), L"連続記録表示モード " + chapters + L" - SCENOVA");
}
