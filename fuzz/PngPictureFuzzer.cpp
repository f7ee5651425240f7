// The skin-picture loaders: full colour and indexed.
#include "playback/decode/Image.h"
#include "playback/decode/ImageDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    loadPng(data, size);
    loadPalettePng(data, size);
    return 0;
}
