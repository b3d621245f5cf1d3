#pragma once

#include <gtkmm/widget.h>
#include <gtkmm/window.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace meridavolt {

// What a sheet's content tells the window that presents it: its title, its
// minimum and ideal (first) size, and a maximum width beyond which the content
// stays centred. -1 leaves a size to the content's own measure.
struct SheetFrame {
    std::string title;
    int minimumWidth = -1;
    int minimumHeight = -1;
    int idealWidth = -1;
    int idealHeight = -1;
    std::optional<int> maximumWidth;
};

// Content that describes its own sheet window.
class SheetContent {
public:
    virtual ~SheetContent() = default;
    virtual SheetFrame sheetFrame() const = 0;
    // A header bar in place of the window's title bar; none keeps the plain one.
    virtual Gtk::Widget* sheetTitleBar() { return nullptr; }
};

// Presents a modal window over the main window while a flag of the
// application state says so. Closing the window by any means calls
// `dismiss`, which clears the flag; the caller calls update() whenever the
// flag changes. Without content nothing is presented. Esc closes the window as
// its close button does. The window is transient for the owner's window, so a
// sheet owned by a widget of another sheet opens over that sheet.
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
    // The content shown now, or nullptr.
    Gtk::Widget* content() { return window_ ? child_.get() : nullptr; }

private:
    void present();
    void close();

    Gtk::Widget& owner_;
    std::function<bool()> isShown_;
    std::function<void()> dismiss_;
    Content content_;
    std::unique_ptr<Gtk::Window> window_;
    std::unique_ptr<Gtk::Widget> child_;
    std::unique_ptr<Gtk::Widget> frame_;
};

}  // namespace meridavolt
