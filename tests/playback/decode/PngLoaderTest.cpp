// Every picture of the PngSuite (shipped with libpng's source) must come out of the loader
// as libpng's own simplified reader sees it: BGR plus alpha where the PNG has alpha, BGR
// plus 0 where it has none.
#include "playback/decode/ImageDecoder.h"

#include <gtest/gtest.h>
#include <png.h>

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::wstring suiteFolder() {
    std::string unixPath = SCENOVA_PNGSUITE_DIR;
    return L"Z:" + std::wstring(unixPath.begin(), unixPath.end());
}

std::vector<std::wstring> suiteFiles() {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((suiteFolder() + L"\\*.png").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do names.push_back(data.cFileName);
    while (FindNextFileW(find, &data));
    FindClose(find);
    return names;
}

std::vector<std::uint8_t> readFile(const std::wstring& path) {
    std::vector<std::uint8_t> bytes;
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (!file) return bytes;
    std::uint8_t buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.insert(bytes.end(), buffer, buffer + n);
    std::fclose(file);
    return bytes;
}

std::uint32_t bigEndian32(const std::uint8_t* p) {
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) | p[3];
}

// The simplified reader corrects gamma and colour spaces, which the skin loader
// deliberately does not: the reference gets the file without those chunks.
std::vector<std::uint8_t> withoutColourChunks(const std::vector<std::uint8_t>& png) {
    std::vector<std::uint8_t> out(png.begin(), png.begin() + 8);
    std::size_t pos = 8;
    while (pos + 12 <= png.size()) {
        std::uint32_t length = bigEndian32(&png[pos]);
        if (length > png.size() - pos - 12) break;
        std::string type(reinterpret_cast<const char*>(&png[pos + 4]), 4);
        std::size_t chunkSize = 12 + length;
        if (type != "gAMA" && type != "cHRM" && type != "sRGB" && type != "iCCP")
            out.insert(out.end(), png.begin() + static_cast<std::ptrdiff_t>(pos),
                       png.begin() + static_cast<std::ptrdiff_t>(pos + chunkSize));
        pos += chunkSize;
    }
    return out;
}

struct Reference {
    bool ok = false;
    int width = 0, height = 0;
    bool hasAlpha = false;
    bool sixteenBit = false;
    std::vector<std::uint8_t> bgra;  // top-down rows
};

// Reads 16-bit pictures as linear 16-bit samples, which the simplified reader leaves
// unconverted, premultiplied by alpha; the loader keeps the high byte of each sample.
bool referenceDecodeSixteenBit(png_image& image, Reference& ref) {
    image.format = PNG_FORMAT_LINEAR_RGB_ALPHA;
    std::vector<std::uint16_t> rgba(PNG_IMAGE_SIZE(image) / 2);
    if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) return false;
    ref.bgra.resize(rgba.size());
    for (std::size_t i = 0; i < rgba.size(); i += 4) {
        unsigned alpha = rgba[i + 3];
        auto unpremultiply = [alpha](unsigned value) {
            if (alpha == 0 || alpha == 65535) return value;
            unsigned straight = (value * 65535u + alpha / 2) / alpha;
            return straight > 65535 ? 65535u : straight;
        };
        ref.bgra[i + 0] = static_cast<std::uint8_t>(unpremultiply(rgba[i + 2]) >> 8);
        ref.bgra[i + 1] = static_cast<std::uint8_t>(unpremultiply(rgba[i + 1]) >> 8);
        ref.bgra[i + 2] = static_cast<std::uint8_t>(unpremultiply(rgba[i + 0]) >> 8);
        ref.bgra[i + 3] = static_cast<std::uint8_t>(alpha >> 8);
    }
    return true;
}

Reference referenceDecode(const std::vector<std::uint8_t>& file) {
    Reference ref;
    std::vector<std::uint8_t> png = withoutColourChunks(file);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, png.data(), png.size())) return ref;
    ref.hasAlpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    ref.sixteenBit = file.size() > 24 && file[24] == 16;  // IHDR bit depth
    ref.width = static_cast<int>(image.width);
    ref.height = static_cast<int>(image.height);
    if (ref.sixteenBit) {
        ref.ok = referenceDecodeSixteenBit(image, ref);
    } else {
        image.format = PNG_FORMAT_BGRA;
        ref.bgra.resize(PNG_IMAGE_SIZE(image));
        ref.ok = png_image_finish_read(&image, nullptr, ref.bgra.data(), 0, nullptr) != 0;
    }
    png_image_free(&image);
    return ref;
}

std::string narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

}  // namespace

TEST(PngLoader, EveryPngSuitePictureMatchesTheReferenceDecode) {
    auto names = suiteFiles();
    ASSERT_GE(names.size(), 40u) << "PngSuite not found in " << narrow(suiteFolder());
    int compared = 0;
    for (const std::wstring& name : names) {
        const std::string caseName = narrow(name);
        auto bytes = readFile(suiteFolder() + L"\\" + name);
        ASSERT_FALSE(bytes.empty()) << caseName;
        auto image = loadPng(bytes.data(), bytes.size());
        Reference ref = referenceDecode(bytes);
        if (name[0] == L'x' || !ref.ok) {
            // The suite's broken files: neither reader may produce a picture.
            EXPECT_FALSE(image) << caseName;
            continue;
        }
        ASSERT_TRUE(image) << caseName;
        ASSERT_EQ(image->width(), ref.width) << caseName;
        ASSERT_EQ(image->height(), ref.height) << caseName;
        ASSERT_EQ(image->byteSize(), ref.width * ref.height * 4) << caseName;
        // Undoing the reference's premultiplication may round a 16-bit sample across a step.
        const int tolerance = ref.sixteenBit && ref.hasAlpha ? 1 : 0;
        int worst = 0;
        for (int y = 0; y < ref.height && worst <= tolerance; ++y) {
            const std::uint8_t* ours = image->pixels() + static_cast<std::size_t>(ref.height - 1 - y) * ref.width * 4;
            const std::uint8_t* theirs = ref.bgra.data() + static_cast<std::size_t>(y) * ref.width * 4;
            for (int x = 0; x < ref.width * 4; ++x) {
                bool alphaByte = x % 4 == 3;
                int expected = alphaByte && !ref.hasAlpha ? 0 : theirs[x];
                // Fully transparent pixels carry no colour in the reference.
                if (!alphaByte && ref.hasAlpha && theirs[x - x % 4 + 3] == 0) continue;
                int diff = std::abs(int(ours[x]) - expected);
                if (diff > worst) worst = diff;
                if (diff > tolerance) {
                    ADD_FAILURE() << caseName << ": byte " << x << " of row " << y << " is " << int(ours[x])
                                  << ", reference " << expected;
                    break;
                }
            }
        }
        ++compared;
    }
    EXPECT_GE(compared, 40);
}

TEST(PngLoader, RejectsWhatIsNoPng) {
    auto bytes = readFile(suiteFolder() + L"\\basn2c08.png");
    ASSERT_FALSE(bytes.empty());
    struct Case {
        const char* name;
        std::vector<std::uint8_t> data;
    } cases[] = {
        {"empty", {}},
        {"signature only", {bytes.begin(), bytes.begin() + 8}},
        {"cut in the pixel data", {bytes.begin(), bytes.end() - 60}},
        {"bad signature", [&] { auto b = bytes; b[1] = 'Q'; return b; }()},
    };
    for (const Case& c : cases) EXPECT_FALSE(loadPng(c.data.data(), c.data.size())) << c.name;
    EXPECT_TRUE(loadPng(bytes.data(), bytes.size()));
}

// Pictures of up to 256 colours are kept as indexes: each pixel's colour must be what the
// full-colour loader gives; any other PNG, and every broken one, gives no indexed picture.
TEST(PngLoader, PalettePicturesShowTheFullColourDecodesColours) {
    int compared = 0;
    for (const std::wstring& name : suiteFiles()) {
        const std::string caseName = narrow(name);
        auto bytes = readFile(suiteFolder() + L"\\" + name);
        auto indexed = loadPalettePng(bytes.data(), bytes.size());
        auto full = loadPng(bytes.data(), bytes.size());
        const bool palette = bytes.size() > 25 && bytes[25] == 3;  // IHDR colour type
        if (!palette || !full) {
            EXPECT_FALSE(indexed) << caseName;
            continue;
        }
        ASSERT_TRUE(indexed) << caseName;
        ASSERT_EQ(indexed->width(), full->width()) << caseName;
        ASSERT_EQ(indexed->height(), full->height()) << caseName;
        ASSERT_EQ(indexed->rowBytes() % 4, 0u) << caseName;
        for (int row = 0; row < full->height(); ++row) {
            const std::uint8_t* indexes = indexed->indexes() + static_cast<std::size_t>(row) * indexed->rowBytes();
            const std::uint8_t* pixels = full->bufferRow(row);
            for (int x = 0; x < full->width(); ++x) {
                std::uint32_t expected = (std::uint32_t{pixels[x * 4 + 2]} << 16) |
                                         (std::uint32_t{pixels[x * 4 + 1]} << 8) | pixels[x * 4];
                if (indexed->colours()[indexes[x]] != expected) {
                    ADD_FAILURE() << caseName << ": pixel " << x << " of row " << row << " (from the bottom)";
                    row = full->height();
                    break;
                }
            }
        }
        ++compared;
    }
    EXPECT_GE(compared, 10);
}
