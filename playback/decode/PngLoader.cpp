// Skin pictures: PNG data from the program's resources, read through libpng's classic
// read interface into the bottom-up BGR-plus-fourth-byte layout of an Image, or, for
// pictures of up to 256 colours, into a PalettePicture. The loader is
// written for hostile data all the same: sizes are bounded before anything is allocated, and
// libpng's messages never reach the console.
#include "playback/decode/ImageDecoder.h"
#include "playback/decode/PalettePicture.h"

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

struct PngHeader {
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int bitDepth = 0;
    int colorType = 0;
};

// The helpers below call into libpng, which reports errors by longjmp to the setjmp of the
// read that called them; they hold only plain values.
PngHeader readHeader(png_structp png, png_infop info, MemoryReader& reader) {
    png_set_read_fn(png, &reader, readFromMemory);
    png_read_info(png, info);
    PngHeader header;
    png_get_IHDR(png, info, &header.width, &header.height, &header.bitDepth, &header.colorType, nullptr, nullptr,
                 nullptr);
    return header;
}

// After the transformations are set: every row must come out as bytesPerPixel a pixel.
void checkSize(png_structp png, png_infop info, const PngHeader& header, png_size_t bytesPerPixel) {
    // Interlaced pictures need every pass; png_read_image runs them all.
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (!Image::sizeAllowed(header.width, header.height)) png_error(png, "unreasonable size");
    if (png_get_rowbytes(png, info) != static_cast<png_size_t>(header.width) * bytesPerPixel)
        png_error(png, "unexpected row size");
}

// PNG rows run top-down, the pictures' bottom-up.
template <typename Picture>
void readRows(png_structp png, Picture& picture, std::vector<png_bytep>& rows) {
    const int height = picture.height();
    rows.resize(static_cast<std::size_t>(height));
    for (int i = 0; i < height; ++i) rows[static_cast<std::size_t>(i)] = picture.bufferRow(height - 1 - i);
    png_read_image(png, rows.data());
}

// libpng reports errors by longjmp, which skips C++ destructors: everything the read owns
// lives outside this function, and only plain values live inside it.
bool readInto(PngReadStructs& structs, MemoryReader& reader, std::unique_ptr<Image>& image,
              std::vector<png_bytep>& rows) {
    png_structp png = structs.png;
    png_infop info = structs.info;
    if (setjmp(png_jmpbuf(png))) return false;

    const PngHeader header = readHeader(png, info, reader);
    const int colorType = header.colorType;
    if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_expand(png);
    if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (colorType == PNG_COLOR_TYPE_GRAY && header.bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
    if (header.bitDepth > 8) png_set_strip_16(png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
    if (!(colorType & PNG_COLOR_MASK_ALPHA)) png_set_filler(png, 0, PNG_FILLER_AFTER);
    png_set_bgr(png);
    checkSize(png, info, header, 4);

    image = Image::create(header.width, header.height);
    if (!image) png_error(png, "no memory for the picture");
    readRows(png, *image, rows);
    return true;
}

// The same for a picture of up to 256 colours, kept as indexes: false as well for any other
// kind of PNG, which the caller decodes in full colour.
bool readPaletteInto(PngReadStructs& structs, MemoryReader& reader, std::unique_ptr<PalettePicture>& picture,
                     std::vector<png_bytep>& rows) {
    png_structp png = structs.png;
    png_infop info = structs.info;
    if (setjmp(png_jmpbuf(png))) return false;

    const PngHeader header = readHeader(png, info, reader);
    if (header.colorType != PNG_COLOR_TYPE_PALETTE) return false;
    // Indexes of 1, 2 and 4 bits become one byte each.
    if (header.bitDepth < 8) png_set_packing(png);
    checkSize(png, info, header, 1);
    png_colorp palette = nullptr;
    int colours = 0;
    if (png_get_PLTE(png, info, &palette, &colours) != PNG_INFO_PLTE) png_error(png, "no palette");

    picture = PalettePicture::create(header.width, header.height);
    if (!picture) png_error(png, "no memory for the picture");
    // An index past the end of the file's palette stays black, as the table was made.
    for (int i = 0; i < colours && i < PalettePicture::kColours; ++i)
        picture->setColour(i, palette[i].red, palette[i].green, palette[i].blue);
    readRows(png, *picture, rows);
    return true;
}

bool hasPngSignature(const std::uint8_t* bytes, std::size_t length) {
    return bytes != nullptr && length >= kSignatureBytes &&
           png_sig_cmp(const_cast<png_bytep>(bytes), 0, kSignatureBytes) == 0;
}

}  // namespace

std::unique_ptr<PalettePicture> loadPalettePng(const std::uint8_t* bytes, std::size_t length) {
    if (!hasPngSignature(bytes, length)) return nullptr;
    PngReadStructs structs;
    if (!structs.valid()) return nullptr;
    MemoryReader reader{bytes, length, 0};
    std::unique_ptr<PalettePicture> picture;
    std::vector<png_bytep> rows;
    try {
        if (!readPaletteInto(structs, reader, picture, rows)) return nullptr;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    return picture;
}

std::unique_ptr<Image> loadPng(const std::uint8_t* bytes, std::size_t length) {
    if (!hasPngSignature(bytes, length)) return nullptr;

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
