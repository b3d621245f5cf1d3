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

// The text lines the engine's layout analysis finds, in reading order.
std::vector<LineBox> textLineBoxes(tesseract::TessBaseAPI& engine, Pix* image);

// One line cut out with a margin and enlarged until its text is readable.
PixPointer readableLineImage(Pix* image, const LineBox& box);

}  // namespace meridavolt
