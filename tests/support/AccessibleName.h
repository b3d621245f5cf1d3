#pragma once

#include <glib.h>
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <gtkmm/widget.h>

#include <string>

namespace meridavolt::testing {

// True when assistive technologies read `name` for the widget.
inline ::testing::AssertionResult namedAs(Gtk::Widget& widget, const std::string& name)
{
    auto* accessible = GTK_ACCESSIBLE(widget.gobj());
    if (!gtk_test_accessible_has_property(accessible, GTK_ACCESSIBLE_PROPERTY_LABEL))
        return ::testing::AssertionFailure() << "no name; expected " << name;
    char* other = gtk_test_accessible_check_property(accessible, GTK_ACCESSIBLE_PROPERTY_LABEL, name.c_str());
    if (!other) return ::testing::AssertionSuccess();
    const std::string found = other;
    g_free(other);
    return ::testing::AssertionFailure() << "named " << found << "; expected " << name;
}

}  // namespace meridavolt::testing
