#pragma once

#include <gtkmm/label.h>
#include <gtkmm/widget.h>
#include <gtkmm/window.h>

#include <string>
#include <vector>

namespace meridavolt::testing {

// The first widget of type T under `root`, depth first.
template <typename T>
T* findWidget(Gtk::Widget& root)
{
    if (auto* found = dynamic_cast<T*>(&root)) return found;
    for (auto* child = root.get_first_child(); child; child = child->get_next_sibling())
        if (auto* found = findWidget<T>(*child)) return found;
    return nullptr;
}

// The mapped widgets of type T under `root`, depth first.
template <typename T>
std::vector<T*> shown(Gtk::Widget& root)
{
    std::vector<T*> found;
    for (auto* child = root.get_first_child(); child; child = child->get_next_sibling()) {
        if (!child->get_mapped()) continue;
        if (auto* match = dynamic_cast<T*>(child)) found.push_back(match);
        for (auto* inner : shown<T>(*child)) found.push_back(inner);
    }
    return found;
}

// The item of a shown menu that carries this label: the widget to aim at.
inline Gtk::Widget* menuItem(Gtk::Widget& menu, const std::string& label)
{
    for (auto* child = menu.get_first_child(); child; child = child->get_next_sibling()) {
        if (auto* text = dynamic_cast<Gtk::Label*>(child); text && text->get_mapped() && std::string(text->get_text()) == label)
            return &menu;
        if (auto* found = menuItem(*child, label)) return found;
    }
    return nullptr;
}

// True while a tooltip is shown anywhere under `root`, popovers included.
inline bool tooltipShown(Gtk::Widget& root)
{
    if (root.get_mapped() && std::string(G_OBJECT_TYPE_NAME(root.gobj())) == "GtkTooltipWindow") return true;
    for (auto* child = root.get_first_child(); child; child = child->get_next_sibling())
        if (tooltipShown(*child)) return true;
    return false;
}

// The shown top-level window with this title, or nullptr: sheets are found by their titles.
inline Gtk::Window* shownWindow(const std::string& title)
{
    for (auto* window : Gtk::Window::list_toplevels())
        if (window->get_visible() && std::string(window->get_title()) == title) return window;
    return nullptr;
}

}  // namespace meridavolt::testing
