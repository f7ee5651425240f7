// Skin pictures: PNG data from the program's resources, read through libpng's classic
// read interface into the bottom-up BGR-plus-fourth-byte layout of an Image. The loader is
// written for hostile data all the same: sizes are bounded before anything is allocated, and
// libpng's messages never reach the console.
#include "playback/decode/ImageDecoder.h"

#include <png.h>

#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

namespace {

constexpr std::size_t kSignatureBytes = 8;
// Ancillary chunks libpng keeps or inflates (text, colour profiles): none of them is used,
// and none of the program's pictures carries one this large.
constexpr png_alloc_size_t kMaxChunkMemory = 1024 * 1024;
constexpr png_uint_32 kMaxKeptChunks = 128;
// No single allocation of libpng's gets more: its largest for an allowed picture are rows of
// 4096 pixels of 16-bit RGBA (32 KiB). A chunk claiming gigabytes only passes libpng's length
// check with a warning, and would otherwise be allocated whole.
constexpr png_alloc_size_t kMaxLibraryAllocation = 4 * 1024 * 1024;

struct MemoryReader {
    const std::uint8_t* bytes;
    std::size_t length;
    std::size_t position;
};

void readFromMemory(png_structp png, png_bytep out, png_size_t count) {
    auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (count > reader->length - reader->position) png_error(png, "read past the end of the picture");
    std::memcpy(out, reader->bytes + reader->position, count);
    reader->position += count;
}

// libpng's default handlers print to standard error ("libpng error: ..."); an error
// returning here makes libpng jump back to the setjmp of the read without a word.
void ignoreMessage(png_structp, png_const_charp) {}

png_voidp boundedMalloc(png_structp, png_alloc_size_t size) {
    return size <= kMaxLibraryAllocation ? std::malloc(size) : nullptr;
}

void boundedFree(png_structp, png_voidp memory) { std::free(memory); }

// Owns libpng's read and info structures for one load.
class PngReadStructs {
public:
    PngReadStructs() {
        // libpng 1.6 refuses a reader created for another library version, so it gets its own.
        png = png_create_read_struct_2(PNG_LIBPNG_VER_STRING, nullptr, ignoreMessage, ignoreMessage, nullptr,
                                       boundedMalloc, boundedFree);
        if (!png) return;
        info = png_create_info_struct(png);
        png_set_user_limits(png, Image::kMaxSide, Image::kMaxSide);
        png_set_chunk_malloc_max(png, kMaxChunkMemory);
        png_set_chunk_cache_max(png, kMaxKeptChunks);
    }
    ~PngReadStructs() {
        if (png) png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    }
    PngReadStructs(const PngReadStructs&) = delete;
    PngReadStructs& operator=(const PngReadStructs&) = delete;

    bool valid() const { return png && info; }
    png_structp png = nullptr;
    png_infop info = nullptr;
};

// libpng reports errors by longjmp, which skips C++ destructors: everything the read owns
// lives outside this function, and only plain values live inside it.
bool readInto(PngReadStructs& structs, MemoryReader& reader, std::unique_ptr<Image>& image,
              std::vector<png_bytep>& rows) {
    png_structp png = structs.png;
    png_infop info = structs.info;
    if (setjmp(png_jmpbuf(png))) return false;

    png_set_read_fn(png, &reader, readFromMemory);
    png_read_info(png, info);
    png_uint_32 width = 0, height = 0;
    int bitDepth = 0, colorType = 0;
    png_get_IHDR(png, info, &width, &height, &bitDepth, &colorType, nullptr, nullptr, nullptr);

    if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_expand(png);
    if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
    if (bitDepth > 8) png_set_strip_16(png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
    if (!(colorType & PNG_COLOR_MASK_ALPHA)) png_set_filler(png, 0, PNG_FILLER_AFTER);
    png_set_bgr(png);
    // Interlaced pictures need every pass; png_read_image runs them all.
    png_set_interlace_handling(png);
    png_read_update_info(png, info);

    if (!Image::sizeAllowed(width, height)) png_error(png, "unreasonable size");
    if (png_get_rowbytes(png, info) != static_cast<png_size_t>(width) * 4) png_error(png, "unexpected row size");

    image = Image::create(width, height);
    if (!image) png_error(png, "no memory for the picture");
    rows.resize(height);
    for (png_uint_32 i = 0; i < height; ++i) rows[i] = image->bufferRow(static_cast<int>(height - 1 - i));
    png_read_image(png, rows.data());
    return true;
}

}  // namespace

std::unique_ptr<Image> loadPng(const std::uint8_t* bytes, std::size_t length) {
    if (bytes == nullptr || length < kSignatureBytes) return nullptr;
    if (png_sig_cmp(const_cast<png_bytep>(bytes), 0, kSignatureBytes) != 0) return nullptr;

    PngReadStructs structs;
    if (!structs.valid()) return nullptr;
    MemoryReader reader{bytes, length, 0};
    std::unique_ptr<Image> image;
    std::vector<png_bytep> rows;
    try {
        if (!readInto(structs, reader, image, rows)) return nullptr;
    } catch (const std::bad_alloc&) {
        return nullptr;  // the row table could not be had
    }
    return image;
}
