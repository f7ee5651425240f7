#pragma once
// The producers of Images and PalettePictures. Decoding failures never escape: each
// returns a picture or nothing. The caller keeps ownership of the input bytes.
#include "playback/decode/Image.h"
#include "playback/decode/PalettePicture.h"

#include <cstddef>
#include <cstdint>
#include <memory>

// One recorded video frame, a complete JPEG stream in memory. Safe to call from several
// threads at once on different inputs.
std::unique_ptr<Image> decodeJpeg(const std::uint8_t* bytes, std::size_t length);

// The same, reduced by the largest of the decoder's own steps (1/2, 1/4, 1/8) that leaves
// at least minWidth x minHeight pixels: a thumbnail at a fraction of the cost of the frame.
std::unique_ptr<Image> decodeJpegReduced(const std::uint8_t* bytes, std::size_t length, int minWidth, int minHeight);

// Whether decodeJpeg gives a picture for these bytes, and its size, at a fraction of the cost:
// the stream is read and entropy decoded whole, which is what finds cut and damaged frames,
// and only the inverse transform and colour conversion run at 1/8 of the size. For frames
// that are passed on as they are, whose picture is not needed.
bool jpegDecodes(const std::uint8_t* bytes, std::size_t length, int& width, int& height);

// One PNG skin picture. The fourth byte of each pixel is the PNG's alpha, or 0 where it
// has none.
std::unique_ptr<Image> loadPng(const std::uint8_t* bytes, std::size_t length);

// The same picture when the PNG is one of up to 256 colours, kept as indexes into its
// colours (the PNG's transparency is left out, as drawing ignores it); nothing for any other
// PNG and for data that does not decode.
std::unique_ptr<PalettePicture> loadPalettePng(const std::uint8_t* bytes, std::size_t length);
