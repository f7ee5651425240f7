#pragma once
// Where the measurements find the generated sample card: in the build tree that CTest names in
// SCENOVA_BUILD_DIR, as Wine sees it (its Z: drive is the Unix root).
#include <string>

// The folder relative (with forward slashes) on the sample card, or the folder that the
// environment variable named override holds when it is set, to measure on another card.
std::wstring sampleCardFolder(const std::wstring& relative, const wchar_t* override = nullptr);
