#include "app/DialogMutex.h"
#include "support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

TEST(DialogMutex, ASecondHolderIsWarnedAndTheNameLastsUntilTheFirstGoes) {
    MessageBoxRecorder boxes;
    {
        DialogMutex first(nullptr);
        EXPECT_TRUE(first.isHeld());
        EXPECT_TRUE(boxes.boxes().empty());
        {
            DialogMutex second(nullptr);
            EXPECT_FALSE(second.isHeld());
            ASSERT_EQ(boxes.boxes().size(), 1u);
            EXPECT_EQ(boxes.boxes()[0].text, L"別のSCENOVAで設定ダイアログを開いています。");
            EXPECT_EQ(boxes.boxes()[0].caption, L"警告");
            EXPECT_EQ(boxes.boxes()[0].style & MB_ICONMASK, static_cast<UINT>(MB_ICONWARNING));
        }
        // The warned copy let its handle go; the first still holds the name.
        DialogMutex third(nullptr);
        EXPECT_FALSE(third.isHeld());
        EXPECT_EQ(boxes.boxes().size(), 2u);
    }
    DialogMutex afterwards(nullptr);
    EXPECT_TRUE(afterwards.isHeld());
    EXPECT_EQ(boxes.boxes().size(), 2u);
}
