// The skin pictures as the program finds them: every picture of the inventory is an IMAGE
// resource, decodes with the program's PNG loader at the size its panel relies on and without
// an alpha channel, and no other IMAGE resource exists; the program icon is there in the sizes
// the shell asks for.
#include "playback/ResourceData.h"
#include "playback/decode/ImageDecoder.h"
#include "ui/WindowException.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <memory>
#include <set>
#include <string>

namespace {

struct SkinPicture {
    int id;
    int width;
    int height;
};

const SkinPicture kInventory[] = {
#include "SkinInventory.inc"
};

BOOL CALLBACK collectImageId(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR ids) {
    if (IS_INTRESOURCE(name)) {
        reinterpret_cast<std::set<int>*>(ids)->insert(static_cast<int>(reinterpret_cast<ULONG_PTR>(name)));
    } else {
        reinterpret_cast<std::set<int>*>(ids)->insert(-1);  // a named IMAGE resource: never expected
    }
    return TRUE;
}

}  // namespace

TEST(SkinPictures, EveryInventoryPictureIsAResourceThatDecodesAtItsSize) {
    for (const SkinPicture& picture : kInventory) {
        SCOPED_TRACE("IMAGE " + std::to_string(picture.id));
        unsigned long size = 0;
        const void* bytes = nullptr;
        try {
            bytes = findResourceData(L"IMAGE", picture.id, &size);
        } catch (const WindowException&) {
            ADD_FAILURE() << "IMAGE " << picture.id << " is not a resource of the program";
            continue;
        }
        std::unique_ptr<Image> image = loadPng(static_cast<const std::uint8_t*>(bytes), size);
        if (!image) {
            ADD_FAILURE() << "IMAGE " << picture.id << " does not decode";
            continue;
        }
        EXPECT_EQ(image->width(), picture.width) << "IMAGE " << picture.id;
        EXPECT_EQ(image->height(), picture.height) << "IMAGE " << picture.id;
        // Pictures are copied without blending, so one with an alpha channel would show
        // whatever colour its transparent pixels happen to hold: every picture is opaque.
        int pixelsWithAlpha = 0;
        for (int offset = 3; offset < image->byteSize(); offset += 4) {
            pixelsWithAlpha += image->pixels()[offset] != 0;
        }
        EXPECT_EQ(pixelsWithAlpha, 0) << "IMAGE " << picture.id << " carries an alpha channel";
    }
}

TEST(SkinPictures, TheProgramHoldsNoImageResourceOutsideTheInventory) {
    std::set<int> expected;
    for (const SkinPicture& picture : kInventory) {
        expected.insert(picture.id);
    }
    std::set<int> found;
    EnumResourceNamesW(GetModuleHandleW(nullptr), L"IMAGE", collectImageId, reinterpret_cast<LONG_PTR>(&found));
    for (int id : found) {
        EXPECT_TRUE(expected.count(id)) << "IMAGE " << id << " is a resource but not in the inventory";
    }
    EXPECT_EQ(found.size(), expected.size());
}

TEST(SkinPictures, NeedleFramesDifferFromOneSpeedToTheNext) {
    // Frame i shows the needle at i km/h; two equal neighbours would freeze the dial.
    for (int speed = 1; speed <= 180; ++speed) {
        unsigned long previousSize = 0;
        unsigned long size = 0;
        const void* previous = findResourceData(L"IMAGE", 11000 + speed - 1, &previousSize);
        const void* current = findResourceData(L"IMAGE", 11000 + speed, &size);
        std::unique_ptr<Image> before = loadPng(static_cast<const std::uint8_t*>(previous), previousSize);
        std::unique_ptr<Image> after = loadPng(static_cast<const std::uint8_t*>(current), size);
        ASSERT_TRUE(before && after) << "needle frame " << speed;
        ASSERT_EQ(before->byteSize(), after->byteSize()) << "needle frame " << speed;
        EXPECT_NE(0, memcmp(before->pixels(), after->pixels(), after->byteSize())) << "needle frames " << speed - 1
                                                                                    << " and " << speed;
    }
}

TEST(SkinPictures, ProgramIconLoadsInTheSizesTheShellUses) {
    const int sizes[] = {16, 32, 48};
    for (int size : sizes) {
        HICON icon = static_cast<HICON>(
            LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(294), IMAGE_ICON, size, size, 0));
        ASSERT_NE(icon, nullptr) << "icon 294 at " << size << " pixels";
        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(icon, &info)) << "icon 294 at " << size << " pixels";
        BITMAP colour = {};
        GetObjectW(info.hbmColor, sizeof colour, &colour);
        EXPECT_EQ(colour.bmWidth, size) << "icon 294 at " << size << " pixels";
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
}
