#pragma once

#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gio/gio.h>

#include <array>
#include <cstdint>

#include <stdexcept>
#include <string>
#include <utility>

namespace meridavolt::testing {

// An image whose left half is red and right half blue, so that a rotation
// shows in where the colours end up.
inline std::string twoColourImage(int width, int height, const char* format)
{
    GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, width, height);
    const int stride = gdk_pixbuf_get_rowstride(pixbuf);
    guchar* pixels = gdk_pixbuf_get_pixels(pixbuf);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            guchar* pixel = pixels + y * stride + x * 3;
            const bool left = x < width / 2;
            pixel[0] = left ? 255 : 0;
            pixel[1] = static_cast<guchar>((x * 7 + y * 3) % 32);  // some texture, as photos have
            pixel[2] = left ? 0 : 255;
        }
    }
    gchar* buffer = nullptr;
    gsize size = 0;
    const bool saved = gdk_pixbuf_save_to_buffer(pixbuf, &buffer, &size, format, nullptr, nullptr);
    g_object_unref(pixbuf);
    if (!saved) throw std::runtime_error("cannot encode test image");
    std::string bytes(buffer, size);
    g_free(buffer);
    return bytes;
}

// The JPEG with an EXIF block saying "rotate 90 degrees clockwise to show"
// (orientation 6), as a phone held upright writes it.
inline std::string withPortraitOrientation(const std::string& jpeg)
{
    const std::string exif("Exif\0\0"
                           "MM\0\x2a\0\0\0\x08"  // big-endian TIFF header, first IFD at 8
                           "\0\x01"  // one entry
                           "\x01\x12\0\x03\0\0\0\x01\0\x06\0\0"  // Orientation, SHORT, 1, value 6
                           "\0\0\0\0",  // no next IFD
                           32);
    const auto length = static_cast<unsigned>(exif.size() + 2);
    std::string segment = "\xff\xe1";
    segment += static_cast<char>(length >> 8);
    segment += static_cast<char>(length & 0xff);
    segment += exif;
    return jpeg.substr(0, 2) + segment + jpeg.substr(2);
}

enum class Colour { red, blue, other };

// A valid one-bit grey PNG of the given size: a few kilobytes on disk however
// many pixels it declares, as a decompression bomb would be.
inline std::string blankBitmapPNG(std::uint32_t width, std::uint32_t height)
{
    auto crc32 = [](const std::string& bytes) {
        std::uint32_t crc = 0xffffffffu;
        for (unsigned char byte : bytes) {
            crc ^= byte;
            for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
        }
        return crc ^ 0xffffffffu;
    };
    auto bigEndian = [](std::uint32_t value) {
        return std::string{static_cast<char>(value >> 24), static_cast<char>(value >> 16),
                           static_cast<char>(value >> 8), static_cast<char>(value)};
    };
    auto chunk = [&](const std::string& type, const std::string& data) {
        return bigEndian(static_cast<std::uint32_t>(data.size())) + type + data + bigEndian(crc32(type + data));
    };

    // Each row: filter byte 0, then width bits of zero.
    GConverter* compressor = G_CONVERTER(g_zlib_compressor_new(G_ZLIB_COMPRESSOR_FORMAT_ZLIB, 9));
    const std::string row(1 + (width + 7) / 8, '\0');
    std::string compressed;
    std::array<char, 65536> out{};
    for (std::uint32_t y = 0; y <= height; ++y) {
        const bool last = y == height;
        std::size_t offset = 0;
        for (;;) {
            gsize read = 0, written = 0;
            auto result = g_converter_convert(compressor, last ? nullptr : row.data() + offset,
                                              last ? 0 : row.size() - offset, out.data(), out.size(),
                                              last ? G_CONVERTER_INPUT_AT_END : G_CONVERTER_NO_FLAGS, &read, &written,
                                              nullptr);
            compressed.append(out.data(), written);
            offset += read;
            if (result == G_CONVERTER_ERROR || result == G_CONVERTER_FINISHED) break;
            if (!last && offset == row.size()) break;
        }
    }
    g_object_unref(compressor);

    std::string header = bigEndian(width) + bigEndian(height) + std::string("\x01\x00\x00\x00\x00", 5);
    return std::string("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", header) + chunk("IDAT", compressed) +
           chunk("IEND", "");
}

struct DecodedImage {
    int width = 0;
    int height = 0;
    Colour topLeft = Colour::other, topRight = Colour::other, bottomLeft = Colour::other, bottomRight = Colour::other;
};

inline Colour colourOf(const guchar* pixel)
{
    if (pixel[0] > 200 && pixel[2] < 60) return Colour::red;
    if (pixel[2] > 200 && pixel[0] < 60) return Colour::blue;
    return Colour::other;
}

// Size and the colours near the four corners of encoded image bytes.
inline DecodedImage decodeImage(const std::string& bytes)
{
    GdkPixbufLoader* loader = gdk_pixbuf_loader_new();
    gdk_pixbuf_loader_write(loader, reinterpret_cast<const guchar*>(bytes.data()), bytes.size(), nullptr);
    gdk_pixbuf_loader_close(loader, nullptr);
    GdkPixbuf* pixbuf = gdk_pixbuf_loader_get_pixbuf(loader);
    if (!pixbuf) {
        g_object_unref(loader);
        throw std::runtime_error("not an image");
    }
    DecodedImage image{gdk_pixbuf_get_width(pixbuf), gdk_pixbuf_get_height(pixbuf)};
    const int channels = gdk_pixbuf_get_n_channels(pixbuf);
    const int stride = gdk_pixbuf_get_rowstride(pixbuf);
    const guchar* pixels = gdk_pixbuf_get_pixels(pixbuf);
    const int xs[2] = {image.width / 8, image.width * 7 / 8};
    const int ys[2] = {image.height / 8, image.height * 7 / 8};
    auto at = [&](int x, int y) { return colourOf(pixels + y * stride + x * channels); };
    image.topLeft = at(xs[0], ys[0]);
    image.topRight = at(xs[1], ys[0]);
    image.bottomLeft = at(xs[0], ys[1]);
    image.bottomRight = at(xs[1], ys[1]);
    g_object_unref(loader);
    return image;
}

}  // namespace meridavolt::testing
