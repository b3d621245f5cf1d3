#pragma once

#include "clipboard/ImageCodec.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

namespace meridavolt {

// Images through GdkPixbuf: raster formats only (the type is sniffed from the
// bytes and vector or text-based formats are refused), the pixel size checked
// before anything is decoded, the EXIF orientation applied, PNG out.
class GdkPixbufImageCodec final : public ImageCodec {
public:
    std::optional<ScaledPNGs> scaledPNGs(std::string_view data, int fullMaxSide, int thumbnailMaxSide,
                                         std::size_t maxPixelCount) const override;
};

// The image decoded by the same rules (raster types only, the pixel count
// checked before the pixels are allocated), as stored: no orientation, no
// scaling. Null when refused or undecodable; the caller owns the reference.
GdkPixbuf* decodeRasterImage(std::string_view data, std::size_t maxPixelCount);

}  // namespace meridavolt
