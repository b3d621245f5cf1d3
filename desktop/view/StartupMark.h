#pragma once

#include "desktop/StartupSequence.h"
#include "desktop/Tween.h"
#include "state/AppModel.h"

#include <gtkmm/widget.h>

namespace meridavolt {

// The start-up animation in the empty workspace: the logo tile arrives, the
// catalogue's symbols flash through it under the tagline, and at the end the
// first service opens. It plays once per run; later it shows the still tile.
// Taking it off screen (removing it, hiding the window) ends a running
// sequence without opening anything.
class StartupMark final : public Gtk::Widget {
public:
    StartupMark(AppModel& model, Scheduler& scheduler);
    ~StartupMark() override;

    const StartupSequence& sequence() const { return sequence_; }

private:
    void snapshot_vfunc(const Glib::RefPtr<Gtk::Snapshot>& snapshot) override;
    Gtk::SizeRequestMode get_request_mode_vfunc() const override;
    void measure_vfunc(Gtk::Orientation orientation, int forSize, int& minimum, int& natural, int& minimumBaseline,
                       int& naturalBaseline) const override;

    void follow(StartupChange change, std::chrono::milliseconds duration);
    void drawTile(const Glib::RefPtr<Gtk::Snapshot>& snapshot, double width, double height, double now);
    void drawTagline(const Glib::RefPtr<Gtk::Snapshot>& snapshot, double width, double height, double now);
    double now() const;
    void keepTicking();

    AppModel& model_;
    StartupSequence sequence_;
    Connection sequenceChanged_;
    sigc::connection unmapped_;
    Tween tileScale_;
    Tween tileRise_;
    Tween taglineOpacity_;
    Tween taglineBlur_;
    guint tick_ = 0;
};

}  // namespace meridavolt
