#include "platform/tesseract/TesseractTextRecognizer.h"

#include <glib.h>
#include <leptonica/allheaders.h>
#include <tesseract/baseapi.h>
#include <tesseract/resultiterator.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace meridavolt {

namespace {

constexpr const char* languages = "jpn+eng";
// Lines of text a dozen pixels high, as in screenshots, misread badly; the
// image is enlarged (at most three times) until its lines are this high.
constexpr int readableLineHeight = 30;
constexpr float maximumUpscale = 3.0f;

struct PixDeleter {
    void operator()(Pix* pix) const { pixDestroy(&pix); }
};
using PixPointer = std::unique_ptr<Pix, PixDeleter>;

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

// The median height of the text lines the layout analysis finds; 0 when none.
int medianLineHeight(tesseract::TessBaseAPI& engine)
{
    std::unique_ptr<tesseract::PageIterator> lines(engine.AnalyseLayout());
    if (!lines) return 0;
    std::vector<int> heights;
    do {
        int left = 0, top = 0, right = 0, bottom = 0;
        if (lines->BoundingBox(tesseract::RIL_TEXTLINE, &left, &top, &right, &bottom)) heights.push_back(bottom - top);
    } while (lines->Next(tesseract::RIL_TEXTLINE));
    if (heights.empty()) return 0;
    std::nth_element(heights.begin(), heights.begin() + heights.size() / 2, heights.end());
    return heights[heights.size() / 2];
}

bool isCJK(gunichar c)
{
    switch (g_unichar_get_script(c)) {
    case G_UNICODE_SCRIPT_HAN:
    case G_UNICODE_SCRIPT_HIRAGANA:
    case G_UNICODE_SCRIPT_KATAKANA:
        return true;
    default:
        // Ideographic punctuation and the full-width forms.
        return (c >= 0x3000 && c <= 0x303F) || (c >= 0xFF00 && c <= 0xFFEF);
    }
}

// The Japanese model puts spaces between characters; Japanese has none.
std::string withoutSpacesBetweenCJK(const std::string& line)
{
    std::vector<gunichar> characters;
    for (const char* p = line.c_str(); *p; p = g_utf8_next_char(p)) characters.push_back(g_utf8_get_char(p));
    std::string result;
    for (std::size_t i = 0; i < characters.size(); ++i) {
        if (characters[i] == ' ' && i > 0 && i + 1 < characters.size() && isCJK(characters[i - 1]) &&
            isCJK(characters[i + 1])) {
            continue;
        }
        char buffer[6];
        result.append(buffer, static_cast<std::size_t>(g_unichar_to_utf8(characters[i], buffer)));
    }
    return result;
}

}  // namespace

RecognizedText TesseractTextRecognizer::recognize(std::string_view imageData) const
{
    PixPointer image = grayImage(imageData);
    if (!image) return {std::nullopt, std::string("画像を読み取れませんでした")};

    tesseract::TessBaseAPI engine;
    if (engine.Init(nullptr, languages, tesseract::OEM_LSTM_ONLY) != 0) {
        return {std::nullopt, std::string("文字認識のデータ（jpn+eng）を読み込めませんでした")};
    }
    engine.SetPageSegMode(tesseract::PSM_AUTO);
    engine.SetImage(image.get());
    engine.SetSourceResolution(300);
    const int lineHeight = medianLineHeight(engine);
    if (lineHeight > 0 && lineHeight < readableLineHeight) {
        float factor = std::min(maximumUpscale, static_cast<float>(readableLineHeight) / static_cast<float>(lineHeight));
        image.reset(pixScaleGrayLI(image.get(), factor, factor));
        if (!image) return {std::nullopt, std::string("画像を読み取れませんでした")};
        engine.SetImage(image.get());
        engine.SetSourceResolution(300);
    }
    if (engine.Recognize(nullptr) != 0) {
        engine.End();
        return {std::nullopt, std::string("文字認識に失敗しました")};
    }

    std::string text;
    std::unique_ptr<tesseract::ResultIterator> lines(engine.GetIterator());
    if (lines) {
        do {
            std::unique_ptr<char[]> raw(lines->GetUTF8Text(tesseract::RIL_TEXTLINE));
            if (!raw) continue;
            std::string line = withoutSpacesBetweenCJK(raw.get());
            while (!line.empty() && (line.back() == '\n' || line.back() == ' ')) line.pop_back();
            if (line.empty()) continue;
            if (!text.empty()) text += '\n';
            text += line;
        } while (lines->Next(tesseract::RIL_TEXTLINE));
    }
    engine.End();
    return {text, std::nullopt};
}

}  // namespace meridavolt
