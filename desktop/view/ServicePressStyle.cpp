#include "desktop/view/ServicePressStyle.h"

#include "desktop/view/DesktopStyle.h"

#include <gtkmm/settings.h>
#include <gtkmm/window.h>

namespace meridavolt {

namespace {

constexpr const char* pressedClass = "pressed";

}  // namespace

ServicePressStyle::ServicePressStyle(Gtk::Widget& button)
    : button_(button), press_(Gtk::GestureDrag::create()), pointer_(Gtk::EventControllerMotion::create())
{
    ensureDesktopStyle();
    button_.add_css_class("service-press");
    followReduceMotion();
    if (auto settings = Gtk::Settings::get_default())
        animationsChanged_ =
            settings->property_gtk_enable_animations().signal_changed().connect([this] { followReduceMotion(); });

    // A drag gesture follows one press from its start to its release, however
    // long it is held (a click gesture stops at the double-click time). It
    // watches in the capture phase and never claims, so the button's own click
    // and the drags see every press as before; a drag that takes the press
    // over cancels it.
    press_->set_propagation_phase(Gtk::PropagationPhase::CAPTURE);
    press_->signal_drag_begin().connect([this](double, double) { begin(); });
    press_->signal_drag_end().connect([this](double, double) { end(); });
    press_->signal_cancel().connect([this](Gdk::EventSequence*) { end(); });
    button_.add_controller(press_);
    // A grab taken by a menu reaches the button as the pointer leaving it.
    pointer_->signal_leave().connect([this] { end(); });
    button_.add_controller(pointer_);
    unmapped_ = button_.signal_unmap().connect([this] { end(); });
}

ServicePressStyle::~ServicePressStyle()
{
    // The button may outlive this style by a moment, and leaving its parent unmaps it.
    windowActive_.disconnect();
    unmapped_.disconnect();
    animationsChanged_.disconnect();
    button_.remove_controller(press_);
    button_.remove_controller(pointer_);
}

void ServicePressStyle::begin()
{
    pressed_ = true;
    button_.add_css_class(pressedClass);
    windowActive_.disconnect();
    if (auto* window = dynamic_cast<Gtk::Window*>(button_.get_root()))
        windowActive_ = window->property_is_active().signal_changed().connect([this, window] {
            if (!window->is_active()) end();
        });
}

void ServicePressStyle::end()
{
    windowActive_.disconnect();
    if (!pressed_) return;
    pressed_ = false;
    button_.remove_css_class(pressedClass);
}

void ServicePressStyle::followReduceMotion()
{
    if (reduceMotion()) button_.add_css_class("reduced-motion");
    else button_.remove_css_class("reduced-motion");
}

}  // namespace meridavolt
