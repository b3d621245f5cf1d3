#pragma once

#include "clipboard/ImageCodec.h"

#include <map>
#include <string>

namespace meridavolt::fakes {

// Knows the images a test registered; anything else is "not an image".
class FakeImageCodec final : public ImageCodec {
public:
    std::optional<ScaledPNGs> scaledPNGs(std::string_view data, int fullMaxSide, int thumbnailMaxSide,
                                         std::size_t maxPixelCount) const override
    {
        ++calls;
        lastFullMaxSide = fullMaxSide;
        lastThumbnailMaxSide = thumbnailMaxSide;
        lastMaxPixelCount = maxPixelCount;
        auto found = images.find(std::string(data));
        if (found == images.end()) return std::nullopt;
        return found->second;
    }

    std::map<std::string, ScaledPNGs> images;
    mutable int calls = 0;
    mutable int lastFullMaxSide = 0;
    mutable int lastThumbnailMaxSide = 0;
    mutable std::size_t lastMaxPixelCount = 0;
};

}  // namespace meridavolt::fakes
