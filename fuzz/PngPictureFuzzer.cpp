// The skin-picture loader.
#include "playback/decode/Image.h"
#include "playback/decode/ImageDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    loadPng(data, size);
    return 0;
}
