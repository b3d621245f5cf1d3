#include "platform/tesseract/TesseractTextRecognizer.h"

#include <glib.h>
#include <leptonica/allheaders.h>
#include <tesseract/baseapi.h>
#include <tesseract/resultiterator.h>

#include <algorithm>
#include <memory>

namespace meridavolt {

namespace {

constexpr const char* languages = "jpn+eng";
// Text a dozen pixels high, as in screenshots, misreads badly; enlarging the
// image up to this length of its longest side (at most three times) fixes it.
constexpr int upscaleTarget = 3000;
constexpr float maximumUpscale = 3.0f;

struct PixDeleter {
    void operator()(Pix* pix) const { pixDestroy(&pix); }
};
using PixPointer = std::unique_ptr<Pix, PixDeleter>;

PixPointer preparedImage(std::string_view data)
{
    PixPointer decoded(pixReadMem(reinterpret_cast<const l_uint8*>(data.data()), data.size()));
    if (!decoded) return nullptr;
    PixPointer gray(pixConvertTo8(decoded.get(), 0));
    if (!gray) return nullptr;
    int longest = std::max(pixGetWidth(gray.get()), pixGetHeight(gray.get()));
    float factor = std::min(maximumUpscale, static_cast<float>(upscaleTarget) / static_cast<float>(longest));
    if (factor <= 1.0f) return gray;
    return PixPointer(pixScaleGrayLI(gray.get(), factor, factor));
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
    PixPointer image = preparedImage(imageData);
    if (!image) return {std::nullopt, std::string("画像を読み取れませんでした")};

    tesseract::TessBaseAPI engine;
    if (engine.Init(nullptr, languages, tesseract::OEM_LSTM_ONLY) != 0) {
        return {std::nullopt, std::string("文字認識のデータ（jpn+eng）を読み込めませんでした")};
    }
    engine.SetPageSegMode(tesseract::PSM_AUTO);
    engine.SetImage(image.get());
    engine.SetSourceResolution(300);
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
