#include "archive/RecordCatalog.h"

#include "archive/FileSystem.h"
#include "archive/NameCheck.h"
#include "archive/VideoArchive.h"
#include "base/Exception.h"
#include "base/StringTable.h"
#include "support/ForwardingFileSystem.h"

#include "ArchiveTestFiles.h"
#include "TestRecordings.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <map>

using testrecordings::chapterFile;
using testrecordings::imageFile;
using testrecordings::morning;

namespace {

// Answers folder searches with fixed listings, as the system's search would return them
// (short-name matches included); everything else goes to the real file system.
class ListingFileSystem : public ForwardingFileSystem {
public:
    std::map<std::wstring, std::vector<std::wstring>> names;  // pattern -> names returned

    bool isDirectory(const std::wstring& path) override { return true; }
    bool exists(const std::wstring& path) override { return true; }
    std::vector<DirectoryEntry> list(const std::wstring&, const std::wstring& pattern) override {
        ++searches;
        std::vector<DirectoryEntry> entries;
        for (const std::wstring& name : names[pattern]) entries.push_back({name, false});
        return entries;
    }

    int searches = 0;
};

class InstalledFileSystem {
public:
    explicit InstalledFileSystem(FileSystem& fs) { FileSystem::install(&fs); }
    ~InstalledFileSystem() { FileSystem::install(nullptr); }
    InstalledFileSystem(const InstalledFileSystem&) = delete;
    InstalledFileSystem& operator=(const InstalledFileSystem&) = delete;
};

std::wstring unreadableMessage() { return loadString(5510); }

}  // namespace

TEST(RecordCatalog, NameCheckAcceptsWhatTheRecorderWritesAndNothingElse) {
    struct Case {
        const wchar_t* pattern;
        const wchar_t* name;
        bool accepted;
    };
    const Case cases[] = {
        {L"Video????.dmv", L"Video0001.dmv", true},
        {L"Video????.dmv", L"video0001.DMV", true},
        {L"Video????.dmv", L"Video001.dmv", false},    // three digits
        {L"Video????.dmv", L"Video0001a.dmv", false},  // one character too many
        {L"Video????.dmv", L"VideoA001.dmv", false},   // a letter among the digits
        {L"Video????.dmv", L"Movie0001.dmv", false},
        {L"Video????.dmv", L"Video0001.dmx", false},
        {L"*.dpc", L"IMG00001.DPC", true},
        {L"*.dpc", L"record.dpcx", false},  // the search found it through its short name
        {L"*.dpc", L"dpc", false},          // shorter than an extension
        {L"*.dpc", L"", false},
        {L"Video.dvt", L"VIDEO.DVT", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(nameMatchesPattern(c.pattern, c.name), c.accepted) << c.pattern << L" / " << c.name;
    }
}

TEST(RecordCatalog, PatternOfEachDisplayMode) {
    EXPECT_EQ(RecordCatalog::patternOf(0), L"Video.dvt");
    EXPECT_EQ(RecordCatalog::patternOf(1), L"*.dpc");
    EXPECT_EQ(RecordCatalog::patternOf(2), L"Video????.dmv");
    EXPECT_EQ(RecordCatalog::patternOf(3), L"Video.dvt");
    EXPECT_EQ(RecordCatalog::patternOf(-1), L"Video.dvt");
}

TEST(RecordCatalog, DecidesTheDisplayModeFromTheKindsInTheFolder) {
    struct Case {
        const char* name;
        std::vector<std::wstring> event, images, chapters;
        int modeBefore;
        bool usable;
        int modeAfter;
    };
    const std::vector<std::wstring> none;
    const std::vector<std::wstring> threeImages = {L"a.dpc", L"b.dpc", L"c.dpc"};
    const Case cases[] = {
        {"empty folder", none, none, none, 1, false, 1},
        {"event and images, continuous mode", {L"Video.dvt"}, threeImages, none, 2, false, 2},
        {"event and images, image mode", {L"Video.dvt"}, threeImages, none, 1, true, 1},
        {"event and images, event mode", {L"Video.dvt"}, threeImages, none, 0, true, 0},
        {"only chapters, event mode", none, none, {L"Video0000.dmv"}, 0, true, 2},
        {"only chapters, image mode", none, none, {L"Video0000.dmv"}, 1, true, 2},
        {"only images, continuous mode", none, threeImages, none, 2, true, 1},
        {"only an event, image mode", {L"Video.dvt"}, none, none, 1, true, 0},
        {"short-name match only", none, {L"record.dpcx"}, none, 1, false, 1},
        {"invalid chapter names only", none, none, {L"Video001.dmv", L"VideoA001.dmv"}, 2, false, 2},
        {"all kinds, mode outside the three", {L"Video.dvt"}, threeImages, {L"Video0000.dmv"}, 7, true, 7},
    };
    for (const Case& c : cases) {
        ListingFileSystem fs;
        fs.names[L"Video.dvt"] = c.event;
        fs.names[L"*.dpc"] = c.images;
        fs.names[L"Video????.dmv"] = c.chapters;
        InstalledFileSystem installed(fs);
        int mode = c.modeBefore;
        EXPECT_EQ(RecordCatalog::decideDisplayMode(L"C:\\card\\rec", mode), c.usable) << c.name;
        EXPECT_EQ(mode, c.modeAfter) << c.name;
    }
}

TEST(RecordCatalog, CountsOnlyNamesThatPassTheCheck) {
    ListingFileSystem fs;
    fs.names[L"*.dpc"] = {L"a.dpc", L"record.dpcx", L"B.DPC", L"sub.dpc"};
    InstalledFileSystem installed(fs);
    EXPECT_EQ(RecordCatalog::countMatches(L"C:\\card", L"*.dpc"), 3);
}

TEST(RecordCatalog, RefusesSearchPathsBeyondThePathLimit) {
    ListingFileSystem fs;
    fs.names[L"*.dpc"] = {L"a.dpc"};
    fs.names[L"Video????.dmv"] = {L"Video0000.dmv"};
    InstalledFileSystem installed(fs);
    // 259 characters is the most a search path may have: folder + "\" + pattern.
    const std::wstring fits = L"C:\\" + std::wstring(259 - 3 - 1 - 5, L'a');
    EXPECT_EQ(RecordCatalog::countMatches(fits, L"*.dpc"), 1);
    EXPECT_EQ(RecordCatalog::countMatches(fits + L"a", L"*.dpc"), 0);
    EXPECT_EQ(fs.searches, 1) << "the long path must never reach the system's search";

    const std::wstring tooLong = L"C:\\" + std::wstring(259 - 3 - 1 - 13 + 1, L'a');
    try {
        RecordCatalog::scanContinuousFolder(tooLong);
        FAIL() << "a folder whose chapter paths cannot fit must be refused";
    } catch (const VideoArchiveException& e) {
        EXPECT_EQ(e.message(), unreadableMessage());
    }
}

TEST(RecordCatalog, ChapterPathsSortTheWayTheSystemComparesThem) {
    struct Case {
        const wchar_t* first;
        const wchar_t* second;
        int sign;
    };
    const Case cases[] = {
        {L"C:\\r\\Video0001.dmv", L"C:\\r\\Video0002.dmv", -1},
        {L"C:\\r\\video0001.dmv", L"C:\\r\\Video0002.dmv", -1},  // case does not outrank the digits
        {L"C:\\r\\VIDEO0010.DMV", L"C:\\r\\video0009.dmv", 1},
        {L"C:\\r\\video0001.dmv", L"C:\\r\\Video0001.dmv", -1},  // only case differs: lower first
        {L"C:\\r\\Video0001.dmv", L"C:\\r\\Video0001.dmv", 0},
    };
    for (const Case& c : cases) {
        const int result = RecordCatalog::compareChapterPaths(c.first, c.second);
        EXPECT_EQ((result > 0) - (result < 0), c.sign) << c.first << L" vs " << c.second;
        const int reverse = RecordCatalog::compareChapterPaths(c.second, c.first);
        EXPECT_EQ((reverse > 0) - (reverse < 0), -c.sign) << c.second << L" vs " << c.first;
    }
}

TEST(RecordCatalog, ThreeChaptersWhoseLastHolds250SlotsGive1450) {
    ScratchFolder folder;
    ASSERT_TRUE(chapterFile(12).save(folder.file(L"Video0000.dmv")));
    ASSERT_TRUE(chapterFile(30).save(folder.file(L"Video0001.dmv")));
    ASSERT_TRUE(chapterFile(250).save(folder.file(L"Video0002.dmv")));
    ASSERT_TRUE(chapterFile(5).save(folder.file(L"Video02.dmv")));  // not a chapter name

    const ChapterList list = RecordCatalog::scanContinuousFolder(folder.path());
    ASSERT_EQ(list.paths.size(), 3u);
    EXPECT_EQ(list.paths[0], folder.file(L"Video0000.dmv"));
    EXPECT_EQ(list.paths[2], folder.file(L"Video0002.dmv"));
    EXPECT_EQ(list.totalSlots, 1450);
    EXPECT_FALSE(list.truncated);
}

TEST(RecordCatalog, SixtyOneChaptersKeepTheFirstSixtyInNameOrder) {
    ScratchFolder folder;
    // Written last to first, so that the directory's own order is not the name order.
    for (int chapter = 60; chapter >= 0; --chapter) {
        wchar_t name[16];
        std::swprintf(name, 16, L"Video%04d.dmv", chapter);
        ASSERT_TRUE(chapterFile(chapter == 59 ? 7 : 2).save(folder.file(name)));
    }
    const ChapterList list = RecordCatalog::scanContinuousFolder(folder.path());
    ASSERT_EQ(list.paths.size(), 60u);
    EXPECT_TRUE(list.truncated);
    for (int chapter = 0; chapter < 60; ++chapter) {
        wchar_t name[16];
        std::swprintf(name, 16, L"Video%04d.dmv", chapter);
        EXPECT_EQ(list.paths[chapter], folder.file(name)) << chapter;
    }
    EXPECT_EQ(list.totalSlots, 59 * 600 + 7) << "the last kept chapter decides, not the dropped one";
}

TEST(RecordCatalog, ChapterOrderIgnoresCaseBeforeDigits) {
    ScratchFolder folder;
    ASSERT_TRUE(chapterFile(3).save(folder.file(L"video0001.dmv")));
    ASSERT_TRUE(chapterFile(9).save(folder.file(L"Video0002.DMV")));
    const ChapterList list = RecordCatalog::scanContinuousFolder(folder.path());
    ASSERT_EQ(list.paths.size(), 2u);
    EXPECT_EQ(RecordCatalog::compareChapterPaths(list.paths[0], folder.file(L"video0001.dmv")), 0);
    EXPECT_EQ(list.totalSlots, 600 + 9);
}

TEST(RecordCatalog, ContinuousFolderWithoutChaptersIsUnreadable) {
    ScratchFolder folder;
    ASSERT_TRUE(chapterFile(3).save(folder.file(L"Video001.dmv")));
    const std::wstring folders[] = {folder.path(), folder.file(L"missing")};
    for (const std::wstring& path : folders) {
        try {
            RecordCatalog::scanContinuousFolder(path);
            ADD_FAILURE() << path;
        } catch (const VideoArchiveException& e) {
            EXPECT_EQ(e.message(), unreadableMessage()) << path;
        }
    }
}

TEST(RecordCatalog, CountsRealFilesAndFolders) {
    ScratchFolder folder;
    ASSERT_TRUE(imageFile(morning(1)).save(folder.file(L"a.dpc")));
    ASSERT_TRUE(imageFile(morning(2)).save(folder.file(L"b.DPC")));
    CreateDirectoryW(folder.file(L"c.dpc").c_str(), nullptr);  // a folder that matches counts too
    ASSERT_TRUE(chapterFile(1).save(folder.file(L"Video0000.dmv")));
    EXPECT_EQ(RecordCatalog::countMatches(folder.path(), L"*.dpc"), 3);
    EXPECT_EQ(RecordCatalog::countMatches(folder.path(), L"Video????.dmv"), 1);
    EXPECT_EQ(RecordCatalog::countMatches(folder.path(), L"Video.dvt"), 0);
    EXPECT_EQ(RecordCatalog::countMatches(folder.file(L"missing"), L"*.dpc"), 0);
}

TEST(RecordCatalog, SixHundredAndOneImagesKeepSixHundredInDateOrder) {
    ScratchFolder folder;
    for (int i = 0; i < 601; ++i) {
        wchar_t name[16];
        std::swprintf(name, 16, L"P%04d.dpc", i);
        // Later names carry earlier times: the list follows the recorded time.
        ASSERT_TRUE(imageFile(morning(3000 - i)).save(folder.file(name)));
    }
    VideoArchive archive;
    EXPECT_TRUE(RecordCatalog::listImages(folder.path(), archive));
    ASSERT_EQ(archive.slotCount(), 600);
    for (int slot = 1; slot < archive.slotCount(); ++slot) {
        ASSERT_LE(archive.frameAt(slot - 1)->dateTime, archive.frameAt(slot)->dateTime) << slot;
    }
}

TEST(RecordCatalog, SixHundredImagesAreNotTruncated) {
    ScratchFolder folder;
    for (int i = 0; i < 600; ++i) {
        wchar_t name[16];
        std::swprintf(name, 16, L"P%04d.dpc", i);
        ASSERT_TRUE(imageFile(morning(i)).save(folder.file(name)));
    }
    VideoArchive archive;
    EXPECT_FALSE(RecordCatalog::listImages(folder.path(), archive));
    EXPECT_EQ(archive.slotCount(), 600);
}
