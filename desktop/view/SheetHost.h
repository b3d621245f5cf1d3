#pragma once

#include <gtkmm/widget.h>
#include <gtkmm/window.h>

#include <functional>
#include <memory>

namespace meridavolt {

// Presents a modal window over the main window while a flag of the
// application state says so. Closing the window by any means calls
// `dismiss`, which clears the flag; the caller calls update() whenever the
// flag changes. Without content nothing is presented.
class SheetHost {
public:
    using Content = std::function<std::unique_ptr<Gtk::Widget>()>;

    SheetHost(Gtk::Widget& owner, std::function<bool()> isShown, std::function<void()> dismiss);
    ~SheetHost();

    void setContent(Content content);
    void update();
    // Builds the content anew, for a sheet whose subject changed while shown.
    void reload();

    Gtk::Window* window() { return window_.get(); }

private:
    void present();
    void close();

    Gtk::Widget& owner_;
    std::function<bool()> isShown_;
    std::function<void()> dismiss_;
    Content content_;
    std::unique_ptr<Gtk::Window> window_;
    std::unique_ptr<Gtk::Widget> child_;
};

}  // namespace meridavolt
