#include "TestImages.h"
#include "clipboard/ClipboardStore.h"
#include "clipboard/gdk/GdkPixbufImageCodec.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cstdint>
#include <string>
#include <vector>

namespace meridavolt {
namespace {

using testing::Colour;
using testing::decodeImage;
using testing::twoColourImage;

constexpr std::size_t noPixelLimit = 1'000'000'000;

// The most memory this process has held so far.
long peakMemoryKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Counts what GLib logs as a warning or worse while it lives.
class LoggedProblems {
public:
    LoggedProblems() { previous_ = g_log_set_default_handler(&LoggedProblems::count, this); }
    ~LoggedProblems() { g_log_set_default_handler(previous_, nullptr); }
    LoggedProblems(const LoggedProblems&) = delete;
    LoggedProblems& operator=(const LoggedProblems&) = delete;
    int count() const { return count_; }
    const std::string& last() const { return last_; }

private:
    static void count(const gchar*, GLogLevelFlags level, const gchar* message, gpointer self)
    {
        if (!(level & (G_LOG_LEVEL_ERROR | G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING))) return;
        auto* problems = static_cast<LoggedProblems*>(self);
        ++problems->count_;
        problems->last_ = message ? message : "";
    }

    GLogFunc previous_ = nullptr;
    int count_ = 0;
    std::string last_;
};

// A GIF with a two-colour palette over a canvas, each frame one pixel of
// image data whatever size its descriptor declares.
struct GifFrame {
    unsigned left, top, width, height;
};

std::string gif(unsigned canvasWidth, unsigned canvasHeight, const std::vector<GifFrame>& frames)
{
    auto le16 = [](unsigned value) { return std::string{char(value & 0xff), char(value >> 8)}; };
    std::string bytes = "GIF89a" + le16(canvasWidth) + le16(canvasHeight) + std::string("\x80\x00\x00", 3) +
                        std::string("\xff\x00\x00\x00\x00\xff", 6);
    for (const auto& frame : frames) {
        bytes += std::string("\x21\xf9\x04\x00\x0a\x00\x00\x00", 8);  // 0.1 s per frame
        bytes += "," + le16(frame.left) + le16(frame.top) + le16(frame.width) + le16(frame.height) + '\0';
        bytes += std::string("\x02\x02\x44\x01\x00", 5);
    }
    return bytes + ";";
}

// A 2 x 2 GIF whose control extension starts with an empty sub-block. The
// format ends the extension there and meets the trailer next; the loader
// reads on past that empty block and meets a frame of the given size.
std::string gifHidingAFrame(unsigned width, unsigned height)
{
    constexpr std::size_t headerBytes = 19, controlExtensionBytes = 8;
    const std::string header = gif(2, 2, {}).substr(0, headerBytes);
    const std::string frame = gif(2, 2, {{0, 0, width, height}}).substr(headerBytes + controlExtensionBytes);
    return header + std::string("\x21\xf9\x00\x01;\x00", 6) + frame;
}

class GdkPixbufCodec : public ::testing::Test {
protected:
    GdkPixbufImageCodec codec;
};

TEST_F(GdkPixbufCodec, APhotographIsScaledTo4096AndAThumbnailOf320KeepingItsAspect)
{
    auto images = ClipboardStore::prepareImage(codec, twoColourImage(5000, 3000, "jpeg"));
    ASSERT_TRUE(images);
    auto full = decodeImage(images->full);
    auto thumbnail = decodeImage(images->thumbnail);
    EXPECT_EQ(full.width, 4096);
    EXPECT_EQ(full.height, 2458);
    EXPECT_EQ(thumbnail.width, 320);
    EXPECT_EQ(thumbnail.height, 192);
    EXPECT_EQ(images->full.substr(1, 3), "PNG");
    EXPECT_EQ(images->thumbnail.substr(1, 3), "PNG");
}

TEST_F(GdkPixbufCodec, APortraitPhotographIsStoredUpright)
{
    // Stored 400 x 200 with "rotate clockwise": shown 200 x 400, the red left half on top.
    auto photo = testing::withPortraitOrientation(twoColourImage(400, 200, "jpeg"));
    auto images = codec.scaledPNGs(photo, 4096, 320, noPixelLimit);
    ASSERT_TRUE(images);
    auto full = decodeImage(images->full);
    EXPECT_EQ(full.width, 200);
    EXPECT_EQ(full.height, 400);
    EXPECT_EQ(full.topLeft, Colour::red);
    EXPECT_EQ(full.topRight, Colour::red);
    EXPECT_EQ(full.bottomLeft, Colour::blue);
    auto thumbnail = decodeImage(images->thumbnail);
    EXPECT_EQ(thumbnail.width, 160);
    EXPECT_EQ(thumbnail.height, 320);
}

TEST_F(GdkPixbufCodec, SmallImagesAreNotEnlarged)
{
    auto images = codec.scaledPNGs(twoColourImage(120, 80, "png"), 4096, 320, noPixelLimit);
    ASSERT_TRUE(images);
    auto full = decodeImage(images->full);
    auto thumbnail = decodeImage(images->thumbnail);
    EXPECT_EQ(std::pair(full.width, full.height), std::pair(120, 80));
    EXPECT_EQ(std::pair(thumbnail.width, thumbnail.height), std::pair(120, 80));
    EXPECT_EQ(full.topLeft, Colour::red);
    EXPECT_EQ(full.bottomRight, Colour::blue);
}

TEST_F(GdkPixbufCodec, TIFFAndOtherRasterFormatsAreAccepted)
{
    for (const char* format : {"tiff", "bmp", "ico"}) {
        auto images = codec.scaledPNGs(twoColourImage(64, 32, format), 4096, 320, noPixelLimit);
        ASSERT_TRUE(images) << format;
        EXPECT_EQ(decodeImage(images->full).width, 64) << format;
    }
}

TEST_F(GdkPixbufCodec, WebPImagesAreAcceptedAndCheckedLikeTheOthers)
{
    const std::string webp = twoColourImage(300, 200, "webp");
    ASSERT_EQ(webp.substr(8, 4), "WEBP");
    auto images = codec.scaledPNGs(webp, 4096, 320, noPixelLimit);
    ASSERT_TRUE(images);
    auto full = decodeImage(images->full);
    EXPECT_EQ(std::pair(full.width, full.height), std::pair(300, 200));
    EXPECT_EQ(full.topLeft, Colour::red);
    EXPECT_EQ(full.topRight, Colour::blue);
    EXPECT_FALSE(codec.scaledPNGs(webp, 4096, 320, 59'999));
}

TEST_F(GdkPixbufCodec, RefusedImagesLeaveNothingInTheLog)
{
    LoggedProblems problems;
    // Over the pixel limit, in every format.
    for (const char* format : {"png", "jpeg", "tiff", "bmp", "webp"})
        EXPECT_FALSE(codec.scaledPNGs(twoColourImage(300, 200, format), 4096, 320, 59'999)) << format;
    EXPECT_FALSE(codec.scaledPNGs(gif(300, 200, {{0, 0, 1, 1}}), 4096, 320, 59'999));

    // GIFs of zero width or height, one a canvas, one a frame the loader
    // finds where the format does not; an animation with an empty second
    // frame, and one whose frame reaches past the canvas: the GIF loader
    // logs critical errors over the frames. A WebP
    // that declares an animation and holds a still picture. Refused on the
    // storing path and on the path that draws thumbnails from the pins file.
    const std::string still = twoColourImage(64, 32, "webp");
    std::string extended = "VP8X" + std::string("\x0a\x00\x00\x00\x02\x00\x00\x00", 8) +
                           std::string("\x3f\x00\x00\x1f\x00\x00", 6) + still.substr(12);
    const auto size = static_cast<std::uint32_t>(4 + extended.size());
    const std::string riffSize{char(size & 0xff), char((size >> 8) & 0xff), char((size >> 16) & 0xff),
                               char(size >> 24)};
    const std::vector<std::string> damaged{gif(0, 2, {{0, 0, 1, 1}}),
                                           gif(2, 0, {{0, 0, 1, 1}}),
                                           gifHidingAFrame(0, 1),
                                           gifHidingAFrame(1, 0),
                                           gif(2, 2, {{0, 0, 1, 1}, {0, 0, 0, 0}}),
                                           gif(2, 2, {{0, 0, 1, 1}, {1, 0, 2, 1}}),
                                           gif(2, 2, {{0, 0, 1, 1}, {2, 2, 1, 1}}),
                                           "RIFF" + riffSize + "WEBP" + extended};
    for (const auto& image : damaged) {
        EXPECT_FALSE(codec.scaledPNGs(image, 4096, 320, noPixelLimit));
        GdkPixbuf* thumbnail = decodeRasterImage(image, noPixelLimit);
        EXPECT_EQ(thumbnail, nullptr);
        if (thumbnail) g_object_unref(thumbnail);
    }
    EXPECT_EQ(problems.count(), 0) << problems.last();

    // Frames inside their canvas are a picture: its first frame.
    auto animation = codec.scaledPNGs(gif(2, 2, {{0, 0, 1, 1}, {1, 1, 1, 1}}), 4096, 320, noPixelLimit);
    ASSERT_TRUE(animation);
    EXPECT_EQ(decodeImage(animation->full).width, 2);
    EXPECT_EQ(problems.count(), 0) << problems.last();
}

TEST_F(GdkPixbufCodec, ThePixelLimitIsCheckedAtItsBoundary)
{
    const std::string image = twoColourImage(300, 200, "png");
    EXPECT_FALSE(codec.scaledPNGs(image, 4096, 320, 59'999));
    EXPECT_TRUE(codec.scaledPNGs(image, 4096, 320, 60'000));
}

TEST_F(GdkPixbufCodec, AHugeCanvasInASmallFileIsRefusedWithoutAllocatingIt)
{
    // 400 million pixels in a 48 KB file, far over the 8192 x 8192 the store
    // allows: decoding it would take more than a gigabyte. The same kind of
    // file at a modest size is a valid image.
    const std::string bomb = testing::blankBitmapPNG(20000, 20000);
    ASSERT_LT(bomb.size(), 64u * 1024u);
    const long peakBefore = peakMemoryKiB();
    EXPECT_FALSE(ClipboardStore::prepareImage(codec, bomb));
    EXPECT_LT(peakMemoryKiB() - peakBefore, 256 * 1024);
    auto modest = ClipboardStore::prepareImage(codec, testing::blankBitmapPNG(1000, 500));
    ASSERT_TRUE(modest);
    EXPECT_EQ(decodeImage(modest->full).width, 1000);
}

TEST_F(GdkPixbufCodec, VectorTextAndNonImageBytesAreRefused)
{
    const std::string svg =
        R"(<svg xmlns="http://www.w3.org/2000/svg" width="10" height="10"><rect width="10" height="10"/></svg>)";
    const std::string xpm = "/* XPM */\nstatic char * x[] = {\"1 1 1 1\", \"a c #FF0000\", \"a\"};\n";
    EXPECT_FALSE(codec.scaledPNGs(svg, 4096, 320, noPixelLimit));
    EXPECT_FALSE(codec.scaledPNGs(xpm, 4096, 320, noPixelLimit));
    EXPECT_FALSE(codec.scaledPNGs("just some text", 4096, 320, noPixelLimit));
    EXPECT_FALSE(codec.scaledPNGs("", 4096, 320, noPixelLimit));
    std::string truncated = twoColourImage(64, 64, "png");
    truncated.resize(40);  // the header without any pixels
    EXPECT_FALSE(codec.scaledPNGs(truncated, 4096, 320, noPixelLimit));
}

}  // namespace
}  // namespace meridavolt
