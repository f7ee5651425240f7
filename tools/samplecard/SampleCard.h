#pragma once
// A complete SD card as the recorder leaves it after a morning's drive: three event folders
// side by side (a hard brake, a manual record, a protected swerve), a folder of stills, a
// continuous folder of three one-minute chapters, and the settings and firmware files.
#include <string>

class SampleCard {
public:
    explicit SampleCard(std::wstring root) : root(std::move(root)) {}

    // Writes the whole card; false (with a line on standard error) at the first failure.
    bool write();

private:
    bool writeEvents();
    bool writeImages();
    bool writeContinuous();
    bool writeSettingsFiles();
    bool makeFolder(const std::wstring& path);
    bool writeBytes(const std::wstring& path, const void* bytes, std::size_t size);
    bool fail(const std::wstring& what);

    std::wstring root;
};
