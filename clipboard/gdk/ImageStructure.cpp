#include "clipboard/gdk/ImageStructure.h"

#include <cstddef>
#include <cstdint>

namespace meridavolt {

namespace {

// Reads the file from front to back; every read past the end fails.
class ByteReader {
public:
    explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}

    bool atEnd() const { return offset_ >= bytes_.size(); }
    bool skip(std::size_t count)
    {
        if (count > bytes_.size() - offset_) return false;
        offset_ += count;
        return true;
    }
    bool byte(std::uint8_t& value)
    {
        if (atEnd()) return false;
        value = static_cast<std::uint8_t>(bytes_[offset_++]);
        return true;
    }
    bool littleEndian16(unsigned& value)
    {
        std::uint8_t low = 0, high = 0;
        if (!byte(low) || !byte(high)) return false;
        value = low | (unsigned{high} << 8);
        return true;
    }
    // Skips a chain of data sub-blocks up to its empty terminator.
    bool skipSubBlocks()
    {
        for (std::uint8_t length = 0;;) {
            if (!byte(length)) return false;
            if (length == 0) return true;
            if (!skip(length)) return false;
        }
    }

private:
    std::string_view bytes_;
    std::size_t offset_ = 0;
};

std::size_t colourTableBytes(std::uint8_t packedFields)
{
    if (!(packedFields & 0x80)) return 0;
    return 3u * (std::size_t{1} << ((packedFields & 0x07) + 1));
}

constexpr std::uint8_t gifExtension = 0x21;
constexpr std::uint8_t gifImage = 0x2c;
constexpr std::uint8_t gifTrailer = 0x3b;

}  // namespace

bool gifFramesLieInsideTheCanvas(std::string_view gif)
{
    ByteReader reader(gif);
    unsigned canvasWidth = 0, canvasHeight = 0;
    std::uint8_t packed = 0;
    if (!reader.skip(6) || !reader.littleEndian16(canvasWidth) || !reader.littleEndian16(canvasHeight) ||
        !reader.byte(packed) || !reader.skip(2) || !reader.skip(colourTableBytes(packed))) {
        return true;  // no frame to judge: the loader refuses the file itself
    }
    std::uint8_t introducer = 0;
    while (reader.byte(introducer) && introducer != gifTrailer) {
        if (introducer == gifExtension) {
            if (!reader.skip(1) || !reader.skipSubBlocks()) break;
        } else if (introducer == gifImage) {
            unsigned left = 0, top = 0, width = 0, height = 0;
            if (!reader.littleEndian16(left) || !reader.littleEndian16(top) || !reader.littleEndian16(width) ||
                !reader.littleEndian16(height)) {
                break;
            }
            if (width == 0 || height == 0 || left + width > canvasWidth || top + height > canvasHeight) return false;
            if (!reader.byte(packed) || !reader.skip(colourTableBytes(packed)) || !reader.skip(1) ||
                !reader.skipSubBlocks()) {
                break;
            }
        }
    }
    return true;
}

bool isAnimatedWebP(std::string_view webp)
{
    // "RIFF", size, "WEBP", then the first chunk: only the extended header
    // ("VP8X") carries flags, and its animation flag is 0x02.
    constexpr std::size_t flagsOffset = 20;
    if (webp.size() <= flagsOffset || webp.substr(0, 4) != "RIFF" || webp.substr(8, 4) != "WEBP" ||
        webp.substr(12, 4) != "VP8X") {
        return false;
    }
    return (static_cast<std::uint8_t>(webp[flagsOffset]) & 0x02) != 0;
}

}  // namespace meridavolt
