#pragma once
// The recorder's own program files, carried in this program as a cabinet (resource
// "BINARY" 309, present when the build was given one), and their expansion onto a card.
// The decompressor reads files, so the cabinet goes through a temporary copy first.
#include <string>

class ProgramCabinet {
public:
    static constexpr int kResourceId = 309;
    static constexpr const wchar_t* kTemporaryFolder = L"C:\\Temp";
    static constexpr const wchar_t* kTemporaryPrefix = L"cab";

    // Tests name a cabinet resource and a temporary folder of their own.
    explicit ProgramCabinet(int resourceId = kResourceId, std::wstring temporaryFolder = kTemporaryFolder);

    // Expands the cabinet into folder (see CabinetExpander). Throws Exception: string 5006
    // when this program carries no cabinet, 5026 when the temporary copy cannot be made,
    // the system's text when the resource cannot be loaded or the copy cannot be opened,
    // and the expansion's own texts. The temporary copy never outlives the call.
    void expandInto(const std::wstring& folder) const;

    // This program was built with a cabinet to expand.
    bool isBundled() const;

private:
    int resourceId;
    std::wstring temporaryFolder;
};
