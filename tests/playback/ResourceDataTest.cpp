#include "playback/ResourceData.h"
#include "ui/WindowException.h"

#include <gtest/gtest.h>

#include <windows.h>

TEST(ResourceData, FindsAResourceOfTheProgramWithItsSize) {
    unsigned long size = 0;
    const void* manifest = findResourceData(MAKEINTRESOURCEW(24), 1, &size);  // the application manifest
    ASSERT_NE(manifest, nullptr);
    EXPECT_GT(size, 100u);
    EXPECT_EQ(std::string(static_cast<const char*>(manifest), 5), "<?xml");
}

TEST(ResourceData, AMissingResourceThrowsWithTheSystemText) {
    try {
        findResourceData(L"IMAGE", 65000, nullptr);
        FAIL() << "no exception";
    } catch (const WindowException& e) {
        // The type may or may not exist in the program; the id does not.
        const std::wstring typeMissing = WindowException::systemErrorText(ERROR_RESOURCE_TYPE_NOT_FOUND);
        const std::wstring nameMissing = WindowException::systemErrorText(ERROR_RESOURCE_NAME_NOT_FOUND);
        EXPECT_TRUE(e.message() == typeMissing || e.message() == nameMissing);
        EXPECT_FALSE(e.message().empty());
    }
}
