#pragma once
// Owner of one skin picture, through which the widgets draw it. The picture may be absent
// (missing or undecodable resource): then every draw does nothing. Drawing is opaque: the
// fourth byte is ignored and nothing is blended. Pictures of up to 256 colours are kept as
// indexes into their colours, a quarter of the memory of full colour.
#include "playback/decode/Image.h"
#include "playback/decode/PalettePicture.h"

#include <memory>

#include <windows.h>

class AlphaImage {
public:
    AlphaImage() = default;
    explicit AlphaImage(std::unique_ptr<Image> image) : picture(std::move(image)) {}
    explicit AlphaImage(std::unique_ptr<PalettePicture> image) : indexed(std::move(image)) {}
    virtual ~AlphaImage() = default;
    AlphaImage(const AlphaImage&) = delete;
    AlphaImage& operator=(const AlphaImage&) = delete;

    // The skin picture ("IMAGE", id) of the program's resources; empty when it is missing or
    // does not decode.
    static std::unique_ptr<AlphaImage> fromResource(int id);

    bool empty() const { return !picture && !indexed; }
    int width() const { return picture ? picture->width() : indexed ? indexed->width() : 0; }
    int height() const { return picture ? picture->height() : indexed ? indexed->height() : 0; }

    // The whole picture at its natural size, top-left corner at (x, y).
    void draw(HDC dc, int x, int y) const;
    // The whole picture stretched into w x h at (x, y) with the DC's stretch mode; false when
    // there is no picture or the system could not draw it.
    bool draw(HDC dc, int x, int y, int w, int h) const;
    // srcW x srcH source pixels from column srcX and source row 0 (bottom-up bitmap
    // coordinates, so counted from the bottom edge), stretched into w x h at (x, y).
    bool draw(HDC dc, int x, int y, int w, int h, int srcX, int srcW, int srcH) const;

private:
    // At most one of the two holds the picture.
    std::unique_ptr<Image> picture;
    std::unique_ptr<PalettePicture> indexed;
};
