#pragma once

#include "clipboard/TextRecognizer.h"
#include "platform/KeptWhileUsed.h"
#include "platform/Scheduler.h"

#include <chrono>
#include <memory>
#include <string>

namespace meridavolt {

struct TesseractEngines;

// Text recognition with Tesseract 5 (LSTM engine). The engines and their
// models are made at the first call, kept for the next ones and let go after
// a minute without a call. Calls run one at a time; each reads the text lines
// of its image on several engines at once.
class TesseractTextRecognizer final : public TextRecognizer {
public:
    struct Options {
        // "jpn" alone reads Japanese as well and a quarter faster, but runs
        // English words together and misreads "@": English keeps its model.
        std::string languages = "jpn+eng";
        // Each engine holds its own models (about 55 MB for "jpn+eng"); two
        // read a screenshot in about 60 % of the time one takes.
        int engines = 2;
        std::chrono::milliseconds keptFor = std::chrono::minutes(1);
    };

    // scheduler: where the release after keptFor runs (the main loop).
    explicit TesseractTextRecognizer(Scheduler& scheduler, Options options);
    explicit TesseractTextRecognizer(Scheduler& scheduler);
    ~TesseractTextRecognizer() override;

    RecognizedText recognize(std::string_view imageData) const override;
    // Whether the engines are kept now.
    bool warm() const { return engines_->holding(); }

private:
    Options options_;
    std::unique_ptr<KeptWhileUsed<TesseractEngines>> engines_;
};

}  // namespace meridavolt
