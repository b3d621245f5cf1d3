#include "clipboard/gdk/GdkPixbufImageCodec.h"

#include "clipboard/gdk/ImageStructure.h"

#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gio/gio.h>

#include <algorithm>
#include <array>
#include <memory>

namespace meridavolt {

namespace {

// Raster formats whose loaders ship with GdkPixbuf or its usual extensions
// (WebP through webp-pixbuf-loader).
// SVG, XPM and XBM are left out: they are programs or text, not pictures.
constexpr std::array<std::string_view, 9> rasterTypes{"image/png",  "image/jpeg", "image/gif",
                                                      "image/tiff", "image/bmp",  "image/webp",
                                                      "image/x-tga", "image/vnd.microsoft.icon", "image/avif"};

// Small pieces until the loader knows the image's size: a refused image is
// then stopped before much of it is decompressed (a highly compressed PNG
// inflates a thousandfold). Large pieces afterwards.
constexpr std::size_t headerChunk = 4 * 1024;
constexpr std::size_t bodyChunk = 256 * 1024;

// zlib level of the PNGs. At the default (6) a 12-megapixel photo takes
// about 3.5 s to encode; level 4 takes a third of that, and its files are
// under 1 % (real photographs) to 7 % (grainy ones) larger, which moves
// only photos within a hair of the 12 MiB limit past it. Levels 1 and 2 grow
// grainy photos by 15 % and more: a 4000 x 3000 one no longer fits.
constexpr const char* pngCompression = "4";

template <typename T>
using GObjectPointer = std::unique_ptr<T, decltype(&g_object_unref)>;

template <typename T>
GObjectPointer<T> own(T* object)
{
    return GObjectPointer<T>(object, g_object_unref);
}

std::optional<std::string> sniffedRasterType(std::string_view data)
{
    gboolean uncertain = FALSE;
    gchar* contentType = g_content_type_guess(nullptr, reinterpret_cast<const guchar*>(data.data()),
                                              std::min(data.size(), std::size_t{4096}), &uncertain);
    gchar* mimeType = g_content_type_get_mime_type(contentType);
    g_free(contentType);
    std::optional<std::string> result;
    if (mimeType && std::find(rasterTypes.begin(), rasterTypes.end(), mimeType) != rasterTypes.end()) {
        result = mimeType;
    }
    g_free(mimeType);
    return result;
}

// Files that would send a loader down a path it cannot leave cleanly are
// refused before it sees them: GIFs with an empty frame or one outside their
// canvas, animated WebP.
bool loaderTakesCleanly(std::string_view data, const std::string& mimeType)
{
    if (mimeType == "image/gif") return gifIsSound(data);
    if (mimeType == "image/webp") return !isAnimatedWebP(data);
    return true;
}

struct SizeCheck {
    std::size_t maxPixelCount;
    bool known = false;
    bool refused = false;
};

// Decodes, refusing in size-prepared (before the pixels are allocated) an
// image with more than the allowed pixels.
GObjectPointer<GdkPixbuf> decode(std::string_view data, const std::string& mimeType, std::size_t maxPixelCount)
{
    auto loader = own(gdk_pixbuf_loader_new_with_mime_type(mimeType.c_str(), nullptr));
    if (!loader) return own<GdkPixbuf>(nullptr);
    SizeCheck check{maxPixelCount};
    g_signal_connect(loader.get(), "size-prepared",
                     G_CALLBACK(+[](GdkPixbufLoader* self, int width, int height, SizeCheck* sizeCheck) {
                         sizeCheck->known = true;
                         auto pixels = static_cast<unsigned long long>(std::max(width, 0)) *
                                       static_cast<unsigned long long>(std::max(height, 0));
                         if (width <= 0 || height <= 0 || pixels > sizeCheck->maxPixelCount) {
                             sizeCheck->refused = true;
                             // A zero size makes the loader give up before it allocates the pixels.
                             gdk_pixbuf_loader_set_size(self, 0, 0);
                         }
                     }),
                     &check);
    bool fed = true;
    for (std::size_t offset = 0; offset < data.size() && !check.refused;) {
        auto length = std::min(check.known ? bodyChunk : headerChunk, data.size() - offset);
        if (!gdk_pixbuf_loader_write(loader.get(), reinterpret_cast<const guchar*>(data.data() + offset), length,
                                     nullptr)) {
            fed = false;
            break;
        }
        offset += length;
    }
    bool closed = gdk_pixbuf_loader_close(loader.get(), nullptr);
    if (!fed || !closed || check.refused) return own<GdkPixbuf>(nullptr);
    GdkPixbuf* pixbuf = gdk_pixbuf_loader_get_pixbuf(loader.get());
    if (!pixbuf) return own<GdkPixbuf>(nullptr);
    return own(GDK_PIXBUF(g_object_ref(pixbuf)));
}

GObjectPointer<GdkPixbuf> fitted(GdkPixbuf* image, int maxSide)
{
    int width = gdk_pixbuf_get_width(image);
    int height = gdk_pixbuf_get_height(image);
    int longest = std::max(width, height);
    if (longest <= maxSide) return own(GDK_PIXBUF(g_object_ref(image)));
    double scale = static_cast<double>(maxSide) / longest;
    int newWidth = std::max(1, static_cast<int>(width * scale + 0.5));
    int newHeight = std::max(1, static_cast<int>(height * scale + 0.5));
    if (width >= height) newWidth = maxSide;
    if (height >= width) newHeight = maxSide;
    return own(gdk_pixbuf_scale_simple(image, newWidth, newHeight, GDK_INTERP_BILINEAR));
}

std::optional<std::string> encodePNG(GdkPixbuf* image)
{
    gchar* buffer = nullptr;
    gsize size = 0;
    if (!gdk_pixbuf_save_to_buffer(image, &buffer, &size, "png", nullptr, "compression", pngCompression, nullptr)) {
        return std::nullopt;
    }
    std::string bytes(buffer, size);
    g_free(buffer);
    return bytes;
}

}  // namespace

GdkPixbuf* decodeRasterImage(std::string_view data, std::size_t maxPixelCount)
{
    auto mimeType = sniffedRasterType(data);
    if (!mimeType || !loaderTakesCleanly(data, *mimeType)) return nullptr;
    return decode(data, *mimeType, maxPixelCount).release();
}

std::optional<ScaledPNGs> GdkPixbufImageCodec::scaledPNGs(std::string_view data, int fullMaxSide,
                                                          int thumbnailMaxSide, std::size_t maxPixelCount) const
{
    auto decoded = own(decodeRasterImage(data, maxPixelCount));
    if (!decoded) return std::nullopt;
    auto upright = own(gdk_pixbuf_apply_embedded_orientation(decoded.get()));
    if (!upright) return std::nullopt;
    decoded.reset();

    auto full = fitted(upright.get(), fullMaxSide);
    if (!full) return std::nullopt;
    auto fullPNG = encodePNG(full.get());
    if (!fullPNG) return std::nullopt;
    // From the full-size version: the same picture, far fewer pixels to filter.
    auto thumbnail = fitted(full.get(), thumbnailMaxSide);
    if (!thumbnail) return std::nullopt;
    auto thumbnailPNG = encodePNG(thumbnail.get());
    if (!thumbnailPNG) return std::nullopt;
    return ScaledPNGs{std::move(*fullPNG), std::move(*thumbnailPNG)};
}

}  // namespace meridavolt
