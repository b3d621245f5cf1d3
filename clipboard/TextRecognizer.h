#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace meridavolt {

struct RecognizedText {
    std::optional<std::string> text;  // lines joined by "\n"; empty when none were found
    std::optional<std::string> errorDescription;  // set when recognition failed
};

// Finds the text lines in an image (Japanese and English). Must be safe to
// call from any thread: it runs in the background, one call per task.
class TextRecognizer {
public:
    virtual ~TextRecognizer() = default;
    virtual RecognizedText recognize(std::string_view imageData) const = 0;
};

}  // namespace meridavolt
