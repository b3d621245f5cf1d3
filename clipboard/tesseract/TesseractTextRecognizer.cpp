#include "clipboard/tesseract/TesseractTextRecognizer.h"

#include "clipboard/tesseract/TextLineImages.h"

#include <glib.h>
#include <malloc.h>
#include <leptonica/allheaders.h>
#include <omp.h>
#include <tesseract/baseapi.h>

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>
#include <vector>

namespace meridavolt {

struct TesseractEngines {
    std::vector<std::unique_ptr<tesseract::TessBaseAPI>> engines;

    ~TesseractEngines()
    {
        engines.clear();
        // The models are many small allocations: without a trim their pages
        // would stay with the process after the engines went.
        malloc_trim(0);
    }
};

namespace {

// libtesseract's OpenMP threads gain ~10 % on an idle machine and, spinning
// against each other on a busy one, made one recognition take minutes. The
// engines run side by side instead, each on one thread.
void keepOpenMPOnThisThread()
{
    omp_set_max_active_levels(0);
}

std::unique_ptr<TesseractEngines> startEngines(const std::string& languages, int count)
{
    auto started = std::make_unique<TesseractEngines>();
    std::vector<char> ready(static_cast<std::size_t>(count), 0);  // not vector<bool>: written from several threads
    std::vector<std::thread> threads;
    for (int i = 0; i < count; ++i) started->engines.push_back(std::make_unique<tesseract::TessBaseAPI>());
    auto load = [&](std::size_t i) {
        ready[i] = started->engines[i]->Init(nullptr, languages.c_str(), tesseract::OEM_LSTM_ONLY) == 0;
    };
    // Each model load is single-threaded: load them at once.
    for (std::size_t i = 0; i < ready.size(); ++i) {
        try {
            threads.emplace_back(load, i);
        } catch (const std::system_error&) {
            load(i);
        }
    }
    for (auto& thread : threads) thread.join();
    if (std::find(ready.begin(), ready.end(), 0) != ready.end()) return nullptr;
    return started;
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

// One line's text, or none when the engine failed.
std::optional<std::string> readLine(tesseract::TessBaseAPI& engine, Pix* lineImage)
{
    engine.SetPageSegMode(tesseract::PSM_SINGLE_LINE);
    engine.SetImage(lineImage);
    engine.SetSourceResolution(300);
    std::unique_ptr<char[]> raw(engine.GetUTF8Text());
    if (!raw) return std::nullopt;
    std::string line = withoutSpacesBetweenCJK(raw.get());
    while (!line.empty() && (line.back() == '\n' || line.back() == ' ')) line.pop_back();
    return line;
}

// Reads every line, the engines taking the next unread line in turn.
std::vector<std::optional<std::string>> readLines(TesseractEngines& engines, Pix* image,
                                                  const std::vector<LineBox>& boxes)
{
    std::vector<std::optional<std::string>> lines(boxes.size());
    const float scale = readableScale(boxes);
    std::atomic<std::size_t> next{0};
    auto work = [&](tesseract::TessBaseAPI& engine) {
        keepOpenMPOnThisThread();
        for (std::size_t i; (i = next++) < boxes.size();) {
            PixPointer lineImage = readableLineImage(image, boxes[i], scale);
            // A box without area holds no text.
            lines[i] = lineImage ? readLine(engine, lineImage.get()) : std::string();
        }
    };
    const std::size_t helpers = std::min(engines.engines.size(), boxes.size()) - (boxes.empty() ? 0 : 1);
    std::vector<std::thread> threads;
    for (std::size_t i = 1; i <= helpers; ++i) {
        try {
            threads.emplace_back(work, std::ref(*engines.engines[i]));
        } catch (const std::system_error&) {
            break;  // the engines already working read the rest
        }
    }
    work(*engines.engines.front());
    for (auto& thread : threads) thread.join();
    return lines;
}

}  // namespace

TesseractTextRecognizer::TesseractTextRecognizer(Scheduler& scheduler) : TesseractTextRecognizer(scheduler, Options{})
{
}

TesseractTextRecognizer::TesseractTextRecognizer(Scheduler& scheduler, Options options)
    : options_(std::move(options)),
      engines_(std::make_unique<KeptWhileUsed<TesseractEngines>>(
          scheduler, options_.keptFor,
          [languages = options_.languages, count = std::max(1, options_.engines)] {
              return startEngines(languages, count);
          }))
{
}

TesseractTextRecognizer::~TesseractTextRecognizer() = default;

RecognizedText TesseractTextRecognizer::recognize(std::string_view imageData) const
{
    PixPointer image = grayImage(imageData);
    if (!image) return {std::nullopt, std::string("画像を読み取れませんでした")};
    return engines_->use([&](TesseractEngines* engines) -> RecognizedText {
        if (!engines) {
            return {std::nullopt, "文字認識のデータ（" + options_.languages + "）を読み込めませんでした"};
        }
        keepOpenMPOnThisThread();
        const auto boxes = textLineBoxes(*engines->engines.front(), image.get());
        std::string text;
        for (const auto& line : readLines(*engines, image.get(), boxes)) {
            if (!line) return {std::nullopt, std::string("文字認識に失敗しました")};
            if (line->empty()) continue;
            if (!text.empty()) text += '\n';
            text += *line;
        }
        return {text, std::nullopt};
    });
}

}  // namespace meridavolt
