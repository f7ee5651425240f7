// Recorded frames: a complete JPEG stream in memory, decoded one scanline at a time
// straight into the bottom-up layout of an Image.
#include "playback/ImageDecoder.h"

#include "ui/Exception.h"

#include <cstdio>  // jpeglib.h needs FILE and size_t first
#include <jpeglib.h>
#include <jerror.h>

#include <vector>

namespace {

// libjpeg reports fatal errors through error_exit, which must not return; the decoder
// turns it into an exception so that every resource is released on the way out.
[[noreturn]] void raiseImageException(j_common_ptr) { throw ImageException(L""); }

void initSource(j_decompress_ptr) {}

boolean fillInputBuffer(j_decompress_ptr cinfo) {
    // The whole input was presented at the start, so this is only reached when the stream
    // is shorter than it says. A frame cut short gives no picture rather than a half-grey one.
    ERREXIT(cinfo, JERR_INPUT_EOF);
    return FALSE;
}

void skipInputData(j_decompress_ptr cinfo, long count) {
    if (count <= 0) return;
    jpeg_source_mgr* source = cinfo->src;
    // Never past the end: a skip beyond it leaves the source exhausted.
    std::size_t skip = static_cast<std::size_t>(count);
    if (skip > source->bytes_in_buffer) skip = source->bytes_in_buffer;
    source->next_input_byte += skip;
    source->bytes_in_buffer -= skip;
}

void termSource(j_decompress_ptr) {}

// Owns the decompressor for the length of one decode.
class Decompressor {
public:
    Decompressor() {
        info.err = jpeg_std_error(&errors);
        errors.error_exit = raiseImageException;
        jpeg_create_decompress(&info);
    }
    ~Decompressor() { jpeg_destroy_decompress(&info); }
    Decompressor(const Decompressor&) = delete;
    Decompressor& operator=(const Decompressor&) = delete;

    void attachMemory(const std::uint8_t* bytes, std::size_t length) {
        source.init_source = initSource;
        source.fill_input_buffer = fillInputBuffer;
        source.skip_input_data = skipInputData;
        source.resync_to_restart = jpeg_resync_to_restart;
        source.term_source = termSource;
        source.next_input_byte = bytes;
        source.bytes_in_buffer = length;
        info.src = &source;
    }

    jpeg_decompress_struct info{};

private:
    jpeg_error_mgr errors{};
    jpeg_source_mgr source{};
};

std::unique_ptr<Image> decodeWith(Decompressor& decompressor) {
    jpeg_decompress_struct& info = decompressor.info;
    jpeg_read_header(&info, TRUE);
    jpeg_start_decompress(&info);

    auto image = std::make_unique<Image>(static_cast<int>(info.output_width), static_cast<int>(info.output_height));
    const int components = info.output_components;
    const std::size_t rowBytes = (static_cast<std::size_t>(components) * info.output_width + 3) & ~std::size_t(3);
    std::vector<JSAMPLE> scanline(rowBytes);
    JSAMPROW rows[1] = {scanline.data()};

    if (components == 3 || components == 1) {
        const int width = static_cast<int>(info.output_width);
        while (info.output_scanline < info.output_height) {
            int row = image->height() - 1 - static_cast<int>(info.output_scanline);
            if (jpeg_read_scanlines(&info, rows, 1) != 1) break;
            std::uint8_t* out = image->bufferRow(row);
            const JSAMPLE* in = scanline.data();
            if (components == 3) {
                for (int x = 0; x < width; ++x, in += 3, out += 4) {
                    out[0] = in[2];
                    out[1] = in[1];
                    out[2] = in[0];
                    out[3] = 0;
                }
            } else {
                for (int x = 0; x < width; ++x, ++in, out += 4) {
                    out[0] = out[1] = out[2] = *in;
                    out[3] = 0;
                }
            }
        }
    }
    // With any other component count no line was read, and finishing fails in the library:
    // such frames give no picture.
    jpeg_finish_decompress(&info);
    return image;
}

}  // namespace

std::unique_ptr<Image> decodeJpeg(const std::uint8_t* bytes, std::size_t length) {
    if (bytes == nullptr || length == 0) return nullptr;
    try {
        Decompressor decompressor;
        decompressor.attachMemory(bytes, length);
        return decodeWith(decompressor);
    } catch (const ImageException&) {
        return nullptr;
    }
}
