// The WAV reader of the audio player.
#include "FuzzInput.h"

#include "base/Exception.h"
#include "playback/decode/WaveFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    MemoryFileSystem& fs = fuzz::freshFileSystem();
    const std::wstring path = joinPath(fuzz::kFolder, L"obv1.tmp");
    fs.put(path, data, size);
    try {
        WaveFile::read(path);
    } catch (const Exception&) {
    }
    return 0;
}
