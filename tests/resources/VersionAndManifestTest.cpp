#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

TEST(VersionResource, FileVersionReadsOneZeroZeroZero) {
    wchar_t path[MAX_PATH];
    ASSERT_GT(GetModuleFileNameW(nullptr, path, MAX_PATH), 0u);
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeW(path, &handle);
    ASSERT_GT(size, 0u);
    std::vector<std::uint8_t> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(path, 0, size, block.data()));

    wchar_t* text = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\StringFileInfo\\041104b0\\FileVersion", reinterpret_cast<void**>(&text), &length));
    EXPECT_EQ(std::wstring(text), L"1, 0, 0, 0");

    VS_FIXEDFILEINFO* fixed = nullptr;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
}

TEST(ApplicationManifest, BringsInCommonControlsSix) {
    // Wine's comctl32 reports 5.81 even in its version 6 guise; the side-by-side copy is
    // told apart by where it was loaded from.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
    ASSERT_TRUE(InitCommonControlsEx(&controls));
    HMODULE comctl = GetModuleHandleW(L"comctl32.dll");
    ASSERT_NE(comctl, nullptr);
    wchar_t path[MAX_PATH];
    ASSERT_GT(GetModuleFileNameW(comctl, path, MAX_PATH), 0u);
    std::wstring lower(path);
    for (auto& c : lower) c = static_cast<wchar_t>(towlower(c));
    EXPECT_NE(lower.find(L"winsxs"), std::wstring::npos) << std::string(lower.begin(), lower.end());
}
