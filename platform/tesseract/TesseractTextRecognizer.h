#pragma once

#include "clipboard/TextRecognizer.h"

namespace meridavolt {

// Text recognition with Tesseract 5 (LSTM engine, Japanese then English).
// Each call makes its own engine, so calls on different threads never share one.
class TesseractTextRecognizer final : public TextRecognizer {
public:
    RecognizedText recognize(std::string_view imageData) const override;
};

}  // namespace meridavolt
