// The editors' entry over a text longer than GTK's own buffer holds
// (65,535 bytes), edited through the entry as its key handlers edit it.
#include "editors/view/WholeTextEntry.h"

#include "support/MainLoopWait.h"

#include <gtest/gtest.h>
#include <gtkmm/init.h>
#include <gtkmm/window.h>

#include <string>

namespace meridavolt {
namespace {

class WholeTextEntryWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        gtk_init();
        Gtk::init_gtkmm_internals();
    }

    void SetUp() override
    {
        window_.set_child(entry_);
        window_.present();
        entry_.signal_changed().connect([this] { ++changes_; });
    }

    void TearDown() override { window_.destroy(); }

    std::string shown() { return entry_.get_text(); }

    Gtk::Window window_;
    WholeTextEntry entry_;
    int changes_ = 0;
};

TEST_F(WholeTextEntryWindow, KeepsEditsAndTheWholeOfALongTextOfWideCharacters)
{
    const std::string head(40000, 'a'), tail(40000, 'z');
    std::string text = head + "日本語" + tail;
    entry_.set_text(text);
    EXPECT_EQ(shown(), text);
    EXPECT_EQ(entry_.get_buffer()->get_length(), 80003);

    // Typed after "日": positions count characters, the text is UTF-8.
    int position = 40001;
    entry_.insert_text("・", -1, position);
    text.insert(head.size() + 3, "・");
    EXPECT_EQ(position, 40002);
    EXPECT_EQ(shown(), text);

    // "本語" deleted, then the end of the text.
    entry_.delete_text(40002, 40004);
    text.erase(head.size() + 6, 6);
    EXPECT_EQ(shown(), text);
    entry_.delete_text(80000, -1);
    text.resize(text.size() - 2);
    EXPECT_EQ(shown(), text);
    EXPECT_EQ(entry_.get_buffer()->get_bytes(), text.size());
    EXPECT_EQ(entry_.get_buffer()->get_length(), 80000);
    EXPECT_EQ(changes_, 4);

    entry_.set_text("");
    EXPECT_EQ(shown(), "");
    EXPECT_EQ(entry_.get_buffer()->get_length(), 0);
    testing::runMainLoopFor(std::chrono::milliseconds(50));
}

}  // namespace
}  // namespace meridavolt
