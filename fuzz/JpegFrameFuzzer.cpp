// The frame decoder, on a whole JPEG stream as the archive hands it over.
#include "playback/decode/Image.h"
#include "playback/decode/ImageDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    decodeJpeg(data, size);
    return 0;
}
