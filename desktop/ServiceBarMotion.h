#pragma once

#include "desktop/Geometry.h"
#include "desktop/Tween.h"

#include <map>
#include <optional>
#include <string>

namespace meridavolt {

// How the service bar moves. The selection highlight slides from the old tile
// to the new one, and after a drop every tile glides from where it was drawn
// to its new place; both ease out over 0.14 s, and jump when motion is reduced.
// Frames are the tiles' places as laid out, in the list's coordinates; times
// are seconds of a steady clock.
class ServiceBarMotion {
public:
    static constexpr double seconds = 0.14;

    // After every layout and every change of the selection: where the tiles
    // are laid out and which one is selected.
    void place(const std::map<std::string, Rect>& frames, const std::optional<std::string>& selected, bool animated,
               double now);
    // The next placement that moves the tiles comes from a drop: they glide into it.
    void glideIntoNextPlacement() { glideNext_ = true; }

    // How far a tile is drawn from its laid-out place.
    Point offset(const std::string& id, double now) const;
    // Where the highlight is drawn, if anything is selected.
    std::optional<Rect> highlight(double now) const;
    bool isMoving(double now) const;

private:
    struct Glide {
        Tween x{0};
        Tween y{0};
    };
    void placeTiles(const std::map<std::string, Rect>& frames, bool glide, double now);
    void placeHighlight(std::optional<Rect> target, bool slide, double now);

    std::map<std::string, Rect> frames_;
    std::map<std::string, Glide> glides_;
    std::optional<std::string> selected_;
    std::optional<Rect> highlightTarget_;
    Tween highlightX_, highlightY_, highlightWidth_, highlightHeight_;
    bool glideNext_ = false;
};

}  // namespace meridavolt
