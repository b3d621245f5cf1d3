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
constexpr std::uint8_t gifGraphicControl = 0xf9;
constexpr std::uint8_t gifApplication = 0xff;

enum class Reading { sound, unsound, cutShort };

// An extension after its introducer. The loader takes an empty first
// sub-block of a control or application extension for a block rather than
// the end, and after a label 0 it may take a later byte for the label, as
// the file's pieces arrive: where its reading and the format's part, the
// file is unsound.
Reading readExtension(ByteReader& reader)
{
    std::uint8_t label = 0, firstLength = 0;
    if (!reader.byte(label)) return Reading::cutShort;
    if (label == 0) return Reading::unsound;
    if (label == gifGraphicControl || label == gifApplication) {
        if (!reader.byte(firstLength)) return Reading::cutShort;
        if (firstLength == 0) return Reading::unsound;
        if (!reader.skip(firstLength)) return Reading::cutShort;
    }
    return reader.skipSubBlocks() ? Reading::sound : Reading::cutShort;
}

// An image descriptor and its data, after the introducer.
Reading readFrame(ByteReader& reader, unsigned canvasWidth, unsigned canvasHeight)
{
    unsigned left = 0, top = 0, width = 0, height = 0;
    if (!reader.littleEndian16(left) || !reader.littleEndian16(top) || !reader.littleEndian16(width) ||
        !reader.littleEndian16(height)) {
        return Reading::cutShort;
    }
    if (width == 0 || height == 0 || left + width > canvasWidth || top + height > canvasHeight) {
        return Reading::unsound;
    }
    std::uint8_t packed = 0;
    if (!reader.byte(packed) || !reader.skip(colourTableBytes(packed)) || !reader.skip(1) ||
        !reader.skipSubBlocks()) {
        return Reading::cutShort;
    }
    return Reading::sound;
}

}  // namespace

bool gifIsSound(std::string_view gif)
{
    ByteReader reader(gif);
    unsigned canvasWidth = 0, canvasHeight = 0;
    if (!reader.skip(6) || !reader.littleEndian16(canvasWidth) || !reader.littleEndian16(canvasHeight)) {
        return true;  // no size to judge: the loader refuses the file itself
    }
    if (canvasWidth == 0 || canvasHeight == 0) return false;
    std::uint8_t packed = 0;
    if (!reader.byte(packed) || !reader.skip(2) || !reader.skip(colourTableBytes(packed))) return true;

    std::uint8_t introducer = 0;
    while (reader.byte(introducer) && introducer != gifTrailer) {
        Reading reading = Reading::sound;
        if (introducer == gifExtension) reading = readExtension(reader);
        if (introducer == gifImage) reading = readFrame(reader, canvasWidth, canvasHeight);
        if (reading == Reading::unsound) return false;
        if (reading == Reading::cutShort) break;
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
