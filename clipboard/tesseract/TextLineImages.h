#pragma once

#include <leptonica/allheaders.h>

#include <memory>
#include <string_view>
#include <vector>

namespace tesseract {
class TessBaseAPI;
}

namespace meridavolt {

struct PixDeleter {
    void operator()(Pix* pix) const { pixDestroy(&pix); }
};
using PixPointer = std::unique_ptr<Pix, PixDeleter>;

struct LineBox {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// The image as 8-bit gray, transparency laid on white; none when the bytes are no image.
PixPointer grayImage(std::string_view data);

// The text lines the engine's layout analysis finds, in reading order, the
// pieces of a line it split joined again.
std::vector<LineBox> textLineBoxes(tesseract::TessBaseAPI& engine, Pix* image);

// How much the lines need enlarging to be readable, from their median
// height: one odd line (two pieces joined) must not set the scale of all.
float readableScale(std::vector<LineBox> lines);

// One line cut out with a margin and enlarged by scale.
PixPointer readableLineImage(Pix* image, const LineBox& box, float scale);

}  // namespace meridavolt
