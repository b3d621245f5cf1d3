#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace meridavolt {

struct ScaledPNGs {
    std::string full;
    std::string thumbnail;
};

// Decodes a raster image and re-encodes it as PNG at two sizes. Must be safe
// to call from any thread: it runs in the background.
class ImageCodec {
public:
    virtual ~ImageCodec() = default;

    // Both PNGs with the image's orientation applied and their longest side at
    // most the given length (never enlarged). Nothing when the bytes are no
    // raster image, cannot be decoded, or hold more than maxPixelCount pixels;
    // the pixel count is checked before the image is decoded.
    virtual std::optional<ScaledPNGs> scaledPNGs(std::string_view data, int fullMaxSide, int thumbnailMaxSide,
                                                 std::size_t maxPixelCount) const = 0;
};

}  // namespace meridavolt
