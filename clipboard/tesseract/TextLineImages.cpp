#include "clipboard/tesseract/TextLineImages.h"

#include <tesseract/baseapi.h>
#include <tesseract/resultiterator.h>

#include <algorithm>

namespace meridavolt {

namespace {

// Text a dozen pixels high, as in screenshots, misreads badly; images whose
// lines are lower than this have their lines enlarged (at most three times).
// Only the lines are enlarged, not the whole image: most of a screenshot is
// no text.
constexpr int readableLineHeight = 40;
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

namespace {

// The layout analysis sometimes splits one line into a main box and slivers
// or single words above and below it. Read apart, each box would read the
// pixels of its neighbours again; read as one, the line comes back whole.
bool sameLine(const LineBox& a, const LineBox& b)
{
    const int sharedHeight = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
    const int sharedWidth = std::min(a.right, b.right) - std::max(a.left, b.left);
    return sharedWidth > 0 && sharedHeight * 2 >= std::min(a.bottom - a.top, b.bottom - b.top);
}

// Joins overlapping pieces until none are left: a sliver that spans the
// line can be what links its first piece to the later ones.
void joinPiecesOfLines(std::vector<LineBox>& lines)
{
    for (bool joined = true; joined;) {
        joined = false;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            for (std::size_t j = i + 1; j < lines.size();) {
                if (!sameLine(lines[i], lines[j])) {
                    ++j;
                    continue;
                }
                lines[i] = {std::min(lines[i].left, lines[j].left), std::min(lines[i].top, lines[j].top),
                            std::max(lines[i].right, lines[j].right), std::max(lines[i].bottom, lines[j].bottom)};
                lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(j));
                joined = true;
            }
        }
    }
}

}  // namespace

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
    joinPiecesOfLines(boxes);
    return boxes;
}

float readableScale(std::vector<LineBox> lines)
{
    if (lines.empty()) return 1.0f;
    auto middle = lines.begin() + static_cast<std::ptrdiff_t>(lines.size() / 2);
    std::nth_element(lines.begin(), middle, lines.end(), [](const LineBox& a, const LineBox& b) {
        return a.bottom - a.top < b.bottom - b.top;
    });
    const int height = middle->bottom - middle->top;
    if (height <= 0 || height >= readableLineHeight) return 1.0f;
    return std::min(maximumUpscale, static_cast<float>(readableLineHeight) / static_cast<float>(height));
}

PixPointer readableLineImage(Pix* image, const LineBox& box, float scale)
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
    if (!line || scale <= 1.0f) return line;
    return PixPointer(pixScaleGrayLI(line.get(), scale, scale));
}

}  // namespace meridavolt
