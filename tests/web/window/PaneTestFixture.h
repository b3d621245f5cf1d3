#pragma once

#include "fakes/FakeScheduler.h"
#include "fakes/FakeWebEngine.h"
#include "fakes/MemorySettings.h"
#include "fakes/TemporaryFolder.h"
#include "support/MainLoopWait.h"
#include "web/view/BrowserPane.h"

#include <gtest/gtest.h>
#include <gtkmm/init.h>
#include <gtkmm/window.h>

#include <memory>
#include <string>
#include <vector>

namespace meridavolt::testing {

// Finds a descendant widget by its name.
template <typename WidgetType = Gtk::Widget>
WidgetType* findNamed(Gtk::Widget& root, const std::string& name)
{
    if (root.get_name().raw() == name) return dynamic_cast<WidgetType*>(&root);
    for (auto* child = root.get_first_child(); child; child = child->get_next_sibling()) {
        if (auto* found = findNamed<WidgetType>(*child, name)) return found;
    }
    return nullptr;
}

// The visible message dialog whose message is `text`, if any.
inline Gtk::MessageDialog* shownDialog(const std::string& text)
{
    for (auto* window : Gtk::Window::list_toplevels()) {
        auto* dialog = dynamic_cast<Gtk::MessageDialog*>(window);
        if (dialog && dialog->get_visible() && dialog->property_text().get_value().raw() == text) return dialog;
    }
    return nullptr;
}

// A pane in a window. `open` uses a fake engine driven by the test;
// tests with a real page make their own session and pane.
class PaneTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        gtk_init();
        Gtk::init_gtkmm_internals();
    }

    void SetUp() override
    {
        window_ = std::make_unique<Gtk::Window>();
        window_->set_default_size(900, 600);
        window_->present();
    }

    void TearDown() override
    {
        window_->unset_child();
        pane_.reset();
        session_.reset();
        window_->destroy();
        runMainLoopFor(std::chrono::milliseconds(20));
    }

    BrowserPane& open(const std::string& url, bool active = true)
    {
        auto engine = std::make_unique<fakes::FakeWebEngine>();
        engine_ = engine.get();
        session_ = std::make_unique<WebSession>(url, std::move(engine), settings_, scheduler_);
        return showPane(active);
    }

    BrowserPane& showPane(bool active = true)
    {
        window_->unset_child();
        pane_ = std::make_unique<BrowserPane>(
            *session_, [this](const std::string& url) { openedOutside_.push_back(url); }, active);
        window_->set_child(*pane_);
        return *pane_;
    }

    template <typename WidgetType = Gtk::Widget>
    WidgetType& part(const std::string& name)
    {
        auto* found = findNamed<WidgetType>(*pane_, name);
        if (!found) throw std::runtime_error("no widget named " + name);
        return *found;
    }

    // Enter in the address field.
    void submitAddress(const std::string& text)
    {
        auto& address = part<Gtk::Entry>("address");
        address.set_text(text);
        g_signal_emit_by_name(address.gobj(), "activate");
    }

    // A click on a button that the user can reach.
    void click(const std::string& name)
    {
        auto& button = part<Gtk::Button>(name);
        ASSERT_TRUE(button.is_drawable() || button.get_mapped()) << name << " is not shown";
        ASSERT_TRUE(button.is_sensitive()) << name << " is disabled";
        g_signal_emit_by_name(button.gobj(), "clicked");
    }

    fakes::MemorySettings settings_;
    fakes::FakeScheduler scheduler_;
    fakes::FakeWebEngine* engine_ = nullptr;
    std::unique_ptr<Gtk::Window> window_;
    std::unique_ptr<WebSession> session_;
    std::unique_ptr<BrowserPane> pane_;
    std::vector<std::string> openedOutside_;
};

}  // namespace meridavolt::testing
