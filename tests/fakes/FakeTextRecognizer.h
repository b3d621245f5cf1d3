#pragma once

#include "clipboard/TextRecognizer.h"

namespace meridavolt::fakes {

class FakeTextRecognizer final : public TextRecognizer {
public:
    RecognizedText recognize(std::string_view imageData) const override
    {
        ++calls;
        lastImage = std::string(imageData);
        return result;
    }

    RecognizedText result;
    mutable int calls = 0;
    mutable std::string lastImage;
};

}  // namespace meridavolt::fakes
