#include <gtest/gtest.h>

#include "clipboard/view/MemoryImage.h"
#include "clipboard/gdk/TestImages.h"
#include "support/MainLoopWait.h"
#include "support/WidgetPicture.h"

#include <gtkmm/init.h>
#include <gtkmm/window.h>

#include <sys/resource.h>

#include <vector>

namespace meridavolt {
namespace {

long peakMemoryKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

class MemoryImageTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        gtk_init();
        Gtk::init_gtkmm_internals();
    }

    // The widget as the window's renderer draws it.
    struct Picture : testing::WidgetPicture {
        bool transparent(int x, int y) const { return at(x, y)[3] == 0; }
        bool red(int x, int y) const { return at(x, y)[2] > 200 && at(x, y)[0] < 60 && at(x, y)[3] == 255; }
        bool blue(int x, int y) const { return at(x, y)[0] > 200 && at(x, y)[2] < 60 && at(x, y)[3] == 255; }
    };

    Picture render(MemoryImage& image) { return Picture{testing::drawWidget(image)}; }
};

TEST_F(MemoryImageTest, AThumbnailIsDrawnWholeInItsFrameWithItsAspectKept)
{
    // 320 x 160 into 200 x 50: drawn 100 x 50 in the middle, red left of blue.
    Gtk::Window window;
    MemoryImage image(SharedBytes(testing::twoColourImage(320, 160, "png")), "AAAA");
    ASSERT_TRUE(image.hasImage());
    image.set_size_request(200, 50);
    image.set_halign(Gtk::Align::START);
    image.set_valign(Gtk::Align::START);
    window.set_child(image);
    window.present();
    ASSERT_TRUE(testing::waitUntil([&] { return image.get_width() == 200 && image.get_height() == 50; }));

    const Picture picture = render(image);
    EXPECT_TRUE(picture.transparent(10, 25));
    EXPECT_TRUE(picture.red(60, 25));
    EXPECT_TRUE(picture.blue(140, 25));
    EXPECT_TRUE(picture.transparent(190, 25));
    window.unset_child();
}

TEST_F(MemoryImageTest, AThumbnailDeclaringHugePixelsIsRefusedBeforeDecodingAndDrawsNothing)
{
    // 400 million pixels in a file of a few dozen kilobytes, as a pins file
    // may hold: decoding it would take more than a gigabyte. Just past a
    // thumbnail's size is refused too; a thumbnail's own size is drawn.
    const std::string bomb = testing::blankBitmapPNG(20000, 20000);
    ASSERT_LT(bomb.size(), 512u * 1024u);
    const long peakBefore = peakMemoryKiB();
    MemoryImage image(SharedBytes(bomb), "BOMB");
    EXPECT_FALSE(image.hasImage());
    EXPECT_LT(peakMemoryKiB() - peakBefore, 64 * 1024);

    EXPECT_FALSE(MemoryImage(SharedBytes(testing::blankBitmapPNG(321, 320)), "").hasImage());
    EXPECT_TRUE(MemoryImage(SharedBytes(testing::blankBitmapPNG(320, 320)), "").hasImage());
    EXPECT_FALSE(MemoryImage(SharedBytes(std::string("<svg xmlns='http://www.w3.org/2000/svg'/>")), "").hasImage());
    EXPECT_FALSE(MemoryImage(SharedBytes(), "EMPTY").hasImage());

    int minimum = -1, natural = -1, minimumBaseline = 0, naturalBaseline = 0;
    image.measure(Gtk::Orientation::VERTICAL, -1, minimum, natural, minimumBaseline, naturalBaseline);
    EXPECT_EQ(natural, 0);
}

TEST_F(MemoryImageTest, ViewsOfAnEntryShareOneTextureUntilItsBytesChange)
{
    const SharedBytes first(testing::twoColourImage(40, 20, "png"));
    auto texture = MemoryImage::texture(first, "CCCC");
    ASSERT_TRUE(texture);
    EXPECT_EQ(MemoryImage::texture(SharedBytes(first.str()), "CCCC"), texture);

    const SharedBytes second(testing::twoColourImage(20, 40, "png"));
    auto replaced = MemoryImage::texture(second, "CCCC");
    ASSERT_TRUE(replaced);
    EXPECT_NE(replaced, texture);
    EXPECT_EQ(replaced->get_intrinsic_width(), 20);
}

}  // namespace
}  // namespace meridavolt
