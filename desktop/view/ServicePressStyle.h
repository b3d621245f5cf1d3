#pragma once

#include <gtkmm/eventcontrollermotion.h>
#include <gtkmm/gesturedrag.h>
#include <gtkmm/widget.h>

namespace meridavolt {

// The service buttons' press: the button shrinks a little and dims while the
// primary button is down on it, easing out over 90 ms; with animations off it
// only dims.
//
// The look is a class of our own rather than the toolkit's :active state: that
// state pairs each press with a release, and a menu that takes the pointer
// swallows the release, leaving the button drawn pressed. Here every way a
// press can end clears the look: a release anywhere, a drag taking over, the
// pointer leaving or grabbed by a menu, the window losing focus, the button
// going away.
class ServicePressStyle {
public:
    explicit ServicePressStyle(Gtk::Widget& button);
    ~ServicePressStyle();
    ServicePressStyle(const ServicePressStyle&) = delete;
    ServicePressStyle& operator=(const ServicePressStyle&) = delete;

    // Ends the look at once, as when the button opens a menu.
    void end();

private:
    void begin();
    void followReduceMotion();

    Gtk::Widget& button_;
    Glib::RefPtr<Gtk::GestureDrag> press_;
    Glib::RefPtr<Gtk::EventControllerMotion> pointer_;
    bool pressed_ = false;
    sigc::connection windowActive_;
    sigc::connection unmapped_;
    sigc::connection animationsChanged_;
};

}  // namespace meridavolt
