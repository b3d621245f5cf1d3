#include "platform/tesseract/TextLineImages.h"

#include <tesseract/baseapi.h>
#include <tesseract/resultiterator.h>

#include <algorithm>

namespace meridavolt {

namespace {

// Text a dozen pixels high, as in screenshots, misreads badly; lines lower
// than this are enlarged (at most three times). Only the lines are enlarged,
// not the whole image: most of a screenshot is no text.
constexpr int readableLineHeight = 30;
constexpr float maximumUpscale = 3.0f;

}  // namespace

PixPointer grayImage(std::string_view data)
{
    PixPointer decoded(pixReadMem(reinterpret_cast<const l_uint8*>(data.data()), data.size()));
    if (!decoded) return nullptr;
    // Transparent pixels usually hold black: dark text on them would vanish
    // into its background, so they are laid on white first.
    PixPointer opaque(pixRemoveAlpha(decoded.get()));
    if (!opaque) return nullptr;
    return PixPointer(pixConvertTo8(opaque.get(), 0));
}

std::vector<LineBox> textLineBoxes(tesseract::TessBaseAPI& engine, Pix* image)
{
    engine.SetPageSegMode(tesseract::PSM_AUTO);
    engine.SetImage(image);
    engine.SetSourceResolution(300);
    std::vector<LineBox> boxes;
    std::unique_ptr<tesseract::PageIterator> lines(engine.AnalyseLayout());
    if (!lines) return boxes;
    do {
        LineBox box;
        if (lines->BoundingBox(tesseract::RIL_TEXTLINE, &box.left, &box.top, &box.right, &box.bottom)) {
            boxes.push_back(box);
        }
    } while (lines->Next(tesseract::RIL_TEXTLINE));
    return boxes;
}

PixPointer readableLineImage(Pix* image, const LineBox& box)
{
    const int height = box.bottom - box.top;
    const int width = box.right - box.left;
    if (height <= 0 || width <= 0) return nullptr;
    // The engine reads a line best with some white around it.
    const int margin = std::max(2, height / 4);
    const int left = std::max(0, box.left - margin);
    const int top = std::max(0, box.top - margin);
    const int right = std::min(static_cast<int>(pixGetWidth(image)), box.right + margin);
    const int bottom = std::min(static_cast<int>(pixGetHeight(image)), box.bottom + margin);
    BOX* area = boxCreate(left, top, right - left, bottom - top);
    PixPointer line(pixClipRectangle(image, area, nullptr));
    boxDestroy(&area);
    if (!line || height >= readableLineHeight) return line;
    const float factor = std::min(maximumUpscale, static_cast<float>(readableLineHeight) / static_cast<float>(height));
    return PixPointer(pixScaleGrayLI(line.get(), factor, factor));
}

}  // namespace meridavolt
