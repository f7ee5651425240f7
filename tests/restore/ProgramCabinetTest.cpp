// The program's cabinet resource expanded onto a card through a temporary file that never
// stays, and the copy of the viewer beside it.
#include "app/AppTestFolder.h"
#include "app/ProgramCabinet.h"
#include "app/ViewerCopy.h"
#include "base/Exception.h"
#include "restore/RestoreInputs.h"

#include <gtest/gtest.h>

#include <functional>

using namespace restore_test;

namespace {

constexpr int kTestCabinet = 901;  // mszip.cab
const std::wstring kNotExpanded = L"一部のファイルの展開に失敗しました。";

// The message of what action throws; empty if nothing.
std::wstring failureOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const Exception& failure) {
        return failure.message();
    }
    return std::wstring();
}

}  // namespace

TEST(ProgramCabinet, ExpandsThroughATemporaryFileThatNeverStays) {
    enum class Temporary { Missing, Existing, Unmakeable };
    struct Case {
        const char* name;
        int resource;
        bool cardExists;
        Temporary temporary;
        const wchar_t* failure;
    };
    const Case cases[] = {
        {"the test cabinet, temporary folder made", kTestCabinet, true, Temporary::Missing, L""},
        {"the test cabinet, temporary folder there", kTestCabinet, true, Temporary::Existing, L""},
        {"a program without a cabinet", ProgramCabinet::kResourceId, true, Temporary::Existing,
         L"車載プログラムがバンドルされていないため、展開できません。"},
        {"a card folder that has gone", kTestCabinet, false, Temporary::Existing, L"ユーザによって中断されました。"},
        {"a temporary folder that cannot be made", kTestCabinet, true, Temporary::Unmakeable,
         L"一時ファイルを作成できません。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AppTestFolder scratch;
        std::wstring card = c.cardExists ? scratch.folder(L"card") : scratch.path(L"gone");
        std::wstring temporary = c.temporary == Temporary::Unmakeable ? scratch.path(L"no\\Temp") : scratch.path(L"Temp");
        if (c.temporary == Temporary::Existing) scratch.folder(L"Temp");

        ProgramCabinet cabinet(c.resource, temporary);
        EXPECT_EQ(failureOf([&] { cabinet.expandInto(card); }), c.failure);
        EXPECT_EQ(treeOf(temporary), std::vector<std::wstring>());
        if (c.cardExists) {
            EXPECT_EQ(treeOf(card).size(), c.failure[0] == L'\0' ? 6u : 0u);
        }
    }
}

TEST(ViewerCopy, CopiesTheProgramUnlessItIsAlreadyThere) {
    enum class Start { Elsewhere, FromTheCard, FromTheCardOtherSpelling };
    struct Case {
        const char* name;
        Start start;
        bool earlierCopy;
        std::uint64_t sizeDelta;  // added to the program's real size
        const wchar_t* failure;
        bool copyIsProgram;  // SCENOVA.exe on the card holds the program's bytes afterwards
    };
    const Case cases[] = {
        {"a copy onto the card", Start::Elsewhere, false, 0, L"", true},
        {"over an earlier copy", Start::Elsewhere, true, 0, L"", true},
        {"a copy whose size differs", Start::Elsewhere, false, 1, kNotExpanded.c_str(), false},
        // A size that could never match shows that nothing was copied.
        {"started from the card", Start::FromTheCard, false, 1, L"", true},
        {"started from the card, named in other letters", Start::FromTheCardOtherSpelling, false, 1, L"", true},
    };
    const Bytes program(5000, 0x4D);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AppTestFolder scratch;
        std::wstring card = scratch.folder(L"card");
        std::wstring programPath = scratch.folder(L"elsewhere") + L"\\viewer.exe";
        std::wstring cardFolder = card;
        if (c.start != Start::Elsewhere) programPath = card + L"\\SCENOVA.exe";
        if (c.start == Start::FromTheCardOtherSpelling) cardFolder = scratch.path(L"CARD\\");
        ASSERT_TRUE(writeFileBytes(programPath, program));
        if (c.earlierCopy) {
            ASSERT_TRUE(writeFileBytes(card + L"\\SCENOVA.exe", Bytes(9000, 0x11)));
        }

        ViewerCopy copy(ProgramFile{programPath, program.size() + c.sizeDelta});
        EXPECT_EQ(failureOf([&] { copy.writeInto(cardFolder); }), c.failure);
        if (c.copyIsProgram) {
            EXPECT_TRUE(readFileBytes(card + L"\\SCENOVA.exe") == program);
        } else {
            EXPECT_FALSE(exists(card + L"\\SCENOVA.exe"));
        }
    }
}
