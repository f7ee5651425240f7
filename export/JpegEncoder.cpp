#include "export/JpegEncoder.h"

#include <cstdio>  // jpeglib.h needs FILE and size_t first
#include <cstdlib>
#include <cstring>
#include <jpeglib.h>

#include <array>
#include <optional>

namespace {

struct LibraryError {};

// libjpeg's fatal errors must not return; unwinding releases everything on the way out.
[[noreturn]] void raiseLibraryError(j_common_ptr) { throw LibraryError(); }

constexpr int kStandardComponents = 3;

struct QuantisationTables {
    std::array<std::optional<std::array<UINT16, DCTSIZE2>>, NUM_QUANT_TBLS> tables;
    std::array<int, kStandardComponents> tableOfComponent{0, 1, 1};
};

class Decompressor {
public:
    Decompressor() {
        info.err = jpeg_std_error(&errors);
        errors.error_exit = raiseLibraryError;
        jpeg_create_decompress(&info);
    }
    ~Decompressor() { jpeg_destroy_decompress(&info); }
    Decompressor(const Decompressor&) = delete;
    Decompressor& operator=(const Decompressor&) = delete;
    jpeg_decompress_struct info{};

private:
    jpeg_error_mgr errors{};
};

class Compressor {
public:
    Compressor() {
        info.err = jpeg_std_error(&errors);
        errors.error_exit = raiseLibraryError;
        jpeg_create_compress(&info);
    }
    ~Compressor() {
        jpeg_destroy_compress(&info);
        std::free(output);
    }
    Compressor(const Compressor&) = delete;
    Compressor& operator=(const Compressor&) = delete;

    jpeg_compress_struct info{};
    unsigned char* output = nullptr;  // the library allocates it with malloc
    unsigned long outputSize = 0;

private:
    jpeg_error_mgr errors{};
};

std::optional<QuantisationTables> readTables(const std::uint8_t* model, std::size_t size) {
    if (model == nullptr || size == 0) return std::nullopt;
    try {
        Decompressor decompressor;
        jpeg_mem_src(&decompressor.info, model, static_cast<unsigned long>(size));
        jpeg_read_header(&decompressor.info, TRUE);
        QuantisationTables result;
        for (int i = 0; i < NUM_QUANT_TBLS; ++i) {
            const JQUANT_TBL* table = decompressor.info.quant_tbl_ptrs[i];
            if (table == nullptr) continue;
            result.tables[static_cast<std::size_t>(i)].emplace();
            std::memcpy(result.tables[static_cast<std::size_t>(i)]->data(), table->quantval, sizeof table->quantval);
        }
        const int components = decompressor.info.num_components;
        for (int c = 0; c < kStandardComponents; ++c) {
            // A grey model has one table for everything.
            const int source = c < components ? c : 0;
            const int number = decompressor.info.comp_info[source].quant_tbl_no;
            if (number < 0 || number >= NUM_QUANT_TBLS || !result.tables[static_cast<std::size_t>(number)]) return std::nullopt;
            result.tableOfComponent[static_cast<std::size_t>(c)] = number;
        }
        return result;
    } catch (const LibraryError&) {
        return std::nullopt;
    }
}

std::vector<std::uint8_t> compress(const Image& image, int quality, const QuantisationTables* tables, J_DCT_METHOD method) {
    if (image.width() <= 0 || image.height() <= 0) return {};
    try {
        Compressor compressor;
        jpeg_compress_struct& info = compressor.info;
        jpeg_mem_dest(&info, &compressor.output, &compressor.outputSize);
        info.image_width = static_cast<JDIMENSION>(image.width());
        info.image_height = static_cast<JDIMENSION>(image.height());
        info.input_components = 4;
        info.in_color_space = JCS_EXT_BGRX;
        jpeg_set_defaults(&info);
        jpeg_set_quality(&info, quality, TRUE);
        info.dct_method = method;
        if (tables != nullptr) {
            for (int i = 0; i < NUM_QUANT_TBLS; ++i) {
                const auto& table = tables->tables[static_cast<std::size_t>(i)];
                if (!table) continue;
                if (info.quant_tbl_ptrs[i] == nullptr) info.quant_tbl_ptrs[i] = jpeg_alloc_quant_table(reinterpret_cast<j_common_ptr>(&info));
                std::memcpy(info.quant_tbl_ptrs[i]->quantval, table->data(), sizeof info.quant_tbl_ptrs[i]->quantval);
                info.quant_tbl_ptrs[i]->sent_table = FALSE;
            }
            for (int c = 0; c < kStandardComponents; ++c)
                info.comp_info[c].quant_tbl_no = tables->tableOfComponent[static_cast<std::size_t>(c)];
        }
        jpeg_start_compress(&info, TRUE);
        const std::uint8_t* pixels = image.pixels();
        const std::size_t rowBytes = static_cast<std::size_t>(image.width()) * 4;
        while (info.next_scanline < info.image_height) {
            // Rows are stored bottom-up; the encoder takes them top-down.
            const std::size_t row = static_cast<std::size_t>(image.height()) - 1 - info.next_scanline;
            JSAMPROW rows[1] = {const_cast<JSAMPLE*>(pixels + row * rowBytes)};
            jpeg_write_scanlines(&info, rows, 1);
        }
        jpeg_finish_compress(&info);
        return std::vector<std::uint8_t>(compressor.output, compressor.output + compressor.outputSize);
    } catch (const LibraryError&) {
        return {};
    }
}

}  // namespace

std::vector<std::uint8_t> JpegEncoder::encode(const Image& image, int quality) {
    return compress(image, quality, nullptr, JDCT_ISLOW);
}

std::vector<std::uint8_t> JpegEncoder::encodeLike(const Image& image, const std::uint8_t* model, std::size_t modelSize) {
    const std::optional<QuantisationTables> tables = readTables(model, modelSize);
    // Frame after frame of an export: the fast transform costs less than the exact one, and
    // its error is small beside that of the recorder's quantisation kept here (libjpeg
    // advises against it only above quality 97).
    return compress(image, kFallbackQuality, tables ? &*tables : nullptr, JDCT_IFAST);
}
