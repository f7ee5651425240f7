// Recorded frames: a complete JPEG stream in memory, decoded one scanline at a time
// straight into the bottom-up layout of an Image. Frames come from the card, so nothing the
// stream claims is trusted: the picture size is checked against the Image bound before the
// library allocates for it, the library's own memory and the number of scans are capped,
// and its messages never reach the console.
#include "playback/decode/ImageDecoder.h"

#include "base/Exception.h"

#include <cstdio>  // jpeglib.h needs FILE and size_t first
#include <jpeglib.h>
#include <jerror.h>

#include <algorithm>
#include <new>
#include <vector>

namespace {

// libjpeg's whole-picture buffers (progressive and multi-scan frames keep every coefficient)
// for the largest allowed picture with three full-resolution components, and some room.
constexpr long kMaxLibraryMemory = 128L * 1024 * 1024;
// A progressive frame from a standard encoder has about ten scans; each scan passes over the
// whole picture, so a stream of thousands of tiny scans would decode for minutes.
constexpr int kMaxScans = 100;

// libjpeg reports fatal errors through error_exit, which must not return; the decoder
// turns it into an exception so that every resource is released on the way out.
[[noreturn]] void raiseImageException(j_common_ptr) { throw ImageException(L""); }

// Warnings about damaged data ("Corrupt JPEG data: ...") would go to standard error; a frame
// either decodes or gives no picture, and nobody reads the console.
void discardMessage(j_common_ptr) {}

void limitScans(j_common_ptr common) {
    auto* info = reinterpret_cast<j_decompress_ptr>(common);
    if (info->input_scan_number > kMaxScans) raiseImageException(common);
}

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
        errors.output_message = discardMessage;
        jpeg_create_decompress(&info);
        info.mem->max_memory_to_use = kMaxLibraryMemory;
        progress.progress_monitor = limitScans;
        info.progress = &progress;
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
    jpeg_progress_mgr progress{};
};

// Rows handed to the library per call: enough for its largest upsampling group, so that it
// writes straight into the picture instead of through a spare row of its own.
constexpr int kRowsPerRead = 16;

// Colour frames: the library's colour conversion writes blue, green, red and a filler byte
// straight into the bottom-up rows (the same values as its RGB output, in the picture's
// order); the filler becomes 0 while the rows are still in the cache.
void readColourRows(jpeg_decompress_struct& info, Image& image) {
    JSAMPROW rows[kRowsPerRead];
    const int width = image.width();
    while (info.output_scanline < info.output_height) {
        const int first = static_cast<int>(info.output_scanline);
        const int count = std::min(kRowsPerRead, image.height() - first);
        for (int i = 0; i < count; ++i) rows[i] = image.bufferRow(image.height() - 1 - first - i);
        const int read = static_cast<int>(jpeg_read_scanlines(&info, rows, static_cast<JDIMENSION>(count)));
        if (read <= 0) break;
        for (int i = 0; i < read; ++i) {
            std::uint8_t* pixel = rows[i];
            for (int x = 0; x < width; ++x) pixel[x * 4 + 3] = 0;
        }
    }
}

// Grey frames: each value Y becomes Y, Y, Y, 0.
void readGreyRows(jpeg_decompress_struct& info, Image& image) {
    const std::size_t rowBytes = (static_cast<std::size_t>(info.output_width) + 3) & ~std::size_t(3);
    std::vector<JSAMPLE> scanline(rowBytes);
    JSAMPROW rows[1] = {scanline.data()};
    const int width = image.width();
    while (info.output_scanline < info.output_height) {
        const int row = image.height() - 1 - static_cast<int>(info.output_scanline);
        if (jpeg_read_scanlines(&info, rows, 1) != 1) break;
        std::uint8_t* out = image.bufferRow(row);
        for (int x = 0; x < width; ++x, out += 4) {
            out[0] = out[1] = out[2] = scanline[static_cast<std::size_t>(x)];
            out[3] = 0;
        }
    }
}

// The largest reduction the library computes in its inverse transform that keeps the picture
// at least minWidth x minHeight; 1 when none does or nothing is asked.
unsigned reductionFor(const jpeg_decompress_struct& info, int minWidth, int minHeight) {
    if (minWidth <= 0 || minHeight <= 0) return 1;
    for (unsigned denominator : {8u, 4u, 2u}) {
        unsigned long width = (info.image_width + denominator - 1) / denominator;
        unsigned long height = (info.image_height + denominator - 1) / denominator;
        if (width >= static_cast<unsigned long>(minWidth) && height >= static_cast<unsigned long>(minHeight))
            return denominator;
    }
    return 1;
}

std::unique_ptr<Image> decodeWith(Decompressor& decompressor, int minWidth, int minHeight) {
    jpeg_decompress_struct& info = decompressor.info;
    jpeg_read_header(&info, TRUE);
    // Before the library allocates anything for the picture's size.
    if (!Image::sizeAllowed(info.image_width, info.image_height)) return nullptr;
    info.scale_num = 1;
    info.scale_denom = reductionFor(info, minWidth, minHeight);
    // Every decoding parameter stays at the library's default; only the byte order of the
    // default RGB output changes, to the picture's own.
    if (info.out_color_space == JCS_RGB) info.out_color_space = JCS_EXT_BGRX;
    jpeg_start_decompress(&info);

    std::unique_ptr<Image> image = Image::create(info.output_width, info.output_height);
    if (!image) return nullptr;
    if (info.out_color_space == JCS_EXT_BGRX && info.output_components == 4) {
        readColourRows(info, *image);
    } else if (info.output_components == 1) {
        readGreyRows(info, *image);
    }
    // With any other output (CMYK frames) no line was read, and finishing fails in the
    // library: such frames give no picture.
    jpeg_finish_decompress(&info);
    return image;
}

}  // namespace

std::unique_ptr<Image> decodeJpeg(const std::uint8_t* bytes, std::size_t length) {
    return decodeJpegReduced(bytes, length, 0, 0);
}

std::unique_ptr<Image> decodeJpegReduced(const std::uint8_t* bytes, std::size_t length, int minWidth, int minHeight) {
    if (bytes == nullptr || length == 0) return nullptr;
    try {
        Decompressor decompressor;
        decompressor.attachMemory(bytes, length);
        return decodeWith(decompressor, minWidth, minHeight);
    } catch (const ImageException&) {
        return nullptr;
    } catch (const std::bad_alloc&) {
        return nullptr;  // no memory for this frame's scanline: no picture for it
    }
}

bool jpegDecodes(const std::uint8_t* bytes, std::size_t length, int& width, int& height) {
    if (bytes == nullptr || length == 0) return false;
    try {
        Decompressor decompressor;
        decompressor.attachMemory(bytes, length);
        // A minimum of 1 x 1 pixels asks for the 1/8 reduction. At it the library still reads
        // every Huffman code (it only leaves the AC coefficients unstored), so a damaged or
        // cut stream fails here exactly as in the whole-size decode.
        if (!decodeWith(decompressor, 1, 1)) return false;
        width = static_cast<int>(decompressor.info.image_width);
        height = static_cast<int>(decompressor.info.image_height);
        return true;
    } catch (const ImageException&) {
        return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
}
