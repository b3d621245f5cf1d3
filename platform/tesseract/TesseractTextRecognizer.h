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
        // The Japanese model reads the English of screenshots as well as
        // "jpn+eng" does, in three quarters of the time and memory.
        std::string languages = "jpn";
        // Each engine holds its own models (about 45 MB for "jpn").
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
