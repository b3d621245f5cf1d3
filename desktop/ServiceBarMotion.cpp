#include "desktop/ServiceBarMotion.h"

namespace meridavolt {

namespace {

bool sameFrame(const Rect& a, const Rect& b)
{
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

bool sameFrames(const std::map<std::string, Rect>& a, const std::map<std::string, Rect>& b)
{
    if (a.size() != b.size()) return false;
    for (auto i = a.begin(), j = b.begin(); i != a.end(); ++i, ++j)
        if (i->first != j->first || !sameFrame(i->second, j->second)) return false;
    return true;
}

}  // namespace

void ServiceBarMotion::place(const std::map<std::string, Rect>& frames, const std::optional<std::string>& selected,
                             bool animated, double now)
{
    // The glide waits for the layout that actually moves the tiles.
    const bool moved = !sameFrames(frames, frames_);
    const bool glide = glideNext_ && animated && moved;
    if (moved) glideNext_ = false;
    placeTiles(frames, glide, now);

    std::optional<Rect> target;
    if (selected) {
        auto found = frames.find(*selected);
        if (found != frames.end()) target = found->second;
    }
    // A new selection slides over from the old one; the selected tile's own
    // move slides along only when the tiles glide too.
    const bool slide = animated && (selected != selected_ || glide);
    selected_ = selected;
    placeHighlight(target, slide, now);
}

void ServiceBarMotion::placeTiles(const std::map<std::string, Rect>& frames, bool glide, double now)
{
    std::map<std::string, Glide> glides;
    for (const auto& [id, frame] : frames) {
        auto previous = frames_.find(id);
        auto running = glides_.find(id);
        Glide motion;
        if (running != glides_.end()) motion = running->second;
        if (glide && previous != frames_.end()) {
            // From where it is drawn now, whatever its own glide had reached.
            const Point drawn{previous->second.x + motion.x.value(now), previous->second.y + motion.y.value(now)};
            motion.x = Tween(drawn.x - frame.x);
            motion.y = Tween(drawn.y - frame.y);
            motion.x.animate(0, seconds, now);
            motion.y.animate(0, seconds, now);
        } else if (previous == frames_.end() || !sameFrame(previous->second, frame)) {
            // Any other change of the layout is followed at once.
            motion = Glide{};
        }
        glides[id] = motion;
    }
    frames_ = frames;
    glides_ = std::move(glides);
}

void ServiceBarMotion::placeHighlight(std::optional<Rect> target, bool slide, double now)
{
    const bool wasShown = highlightTarget_.has_value();
    if (target && highlightTarget_ && sameFrame(*target, *highlightTarget_)) return;
    highlightTarget_ = target;
    if (!target) return;
    const double duration = slide && wasShown ? seconds : 0;
    highlightX_.animate(target->x, duration, now);
    highlightY_.animate(target->y, duration, now);
    highlightWidth_.animate(target->width, duration, now);
    highlightHeight_.animate(target->height, duration, now);
}

Point ServiceBarMotion::offset(const std::string& id, double now) const
{
    auto found = glides_.find(id);
    if (found == glides_.end()) return {};
    return {found->second.x.value(now), found->second.y.value(now)};
}

std::optional<Rect> ServiceBarMotion::highlight(double now) const
{
    if (!highlightTarget_) return std::nullopt;
    return Rect{highlightX_.value(now), highlightY_.value(now), highlightWidth_.value(now),
                highlightHeight_.value(now)};
}

bool ServiceBarMotion::isMoving(double now) const
{
    if (highlightTarget_ && highlightX_.isAnimating(now)) return true;
    for (const auto& [id, glide] : glides_)
        if (glide.x.isAnimating(now) || glide.y.isAnimating(now)) return true;
    return false;
}

}  // namespace meridavolt
