#include "export/PngEncoder.h"

#include <png.h>

#include <csetjmp>

namespace {

void appendToVector(png_structp png, png_bytep data, png_size_t count) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + count);
}

void flushNothing(png_structp) {}

class PngWriteStructs {
public:
    PngWriteStructs() {
        png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        if (png) info = png_create_info_struct(png);
    }
    ~PngWriteStructs() {
        if (png) png_destroy_write_struct(&png, info ? &info : nullptr);
    }
    PngWriteStructs(const PngWriteStructs&) = delete;
    PngWriteStructs& operator=(const PngWriteStructs&) = delete;

    bool valid() const { return png && info; }
    png_structp png = nullptr;
    png_infop info = nullptr;
};

// libpng reports errors by longjmp, which skips C++ destructors: everything the write owns
// lives outside this function.
bool writeInto(PngWriteStructs& structs, const Image& image, std::vector<png_bytep>& rows, std::vector<std::uint8_t>& out) {
    png_structp png = structs.png;
    png_infop info = structs.info;
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_write_fn(png, &out, appendToVector, flushNothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width()), static_cast<png_uint_32>(image.height()), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    // The picture's pixels are blue, green, red and a fourth byte that the file leaves out.
    png_set_bgr(png);
    png_set_filler(png, 0, PNG_FILLER_AFTER);
    png_write_image(png, rows.data());
    png_write_end(png, info);
    return true;
}

}  // namespace

std::vector<std::uint8_t> encodePng(const Image& image) {
    std::vector<std::uint8_t> out;
    if (image.width() <= 0 || image.height() <= 0) return out;
    PngWriteStructs structs;
    if (!structs.valid()) return out;
    // Top row first, from a bottom-up picture.
    std::vector<png_bytep> rows(static_cast<std::size_t>(image.height()));
    for (int row = 0; row < image.height(); ++row)
        rows[static_cast<std::size_t>(row)] = const_cast<png_bytep>(image.pixels()) +
                                              static_cast<std::size_t>(image.height() - 1 - row) * image.width() * 4;
    if (!writeInto(structs, image, rows, out)) out.clear();
    return out;
}
