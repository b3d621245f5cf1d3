#pragma once

#include "model/Service.h"
#include "model/WorkSet.h"
#include "platform/Clock.h"
#include "platform/Date.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace meridavolt {

// The user's library: the services of the bar in display order, the removal
// tombstones and the time of the last change. The whole content of the
// services file.
struct ServiceLibrary {
    static constexpr int currentSchemaVersion = 1;

    int schemaVersion = currentSchemaVersion;
    std::vector<Service> services{};           // ids are unique
    std::map<std::string, Date> deletedIDs{};  // removed service id -> time of removal
    Date modifiedAt = SystemClock::shared().now();

    // Moves service `id` to just before `before`, or to the end without one.
    // Returns whether the order of ids changed; an unknown id, an unknown
    // `before` or `before == id` change nothing. Leaves `modifiedAt` alone:
    // the caller persists and stamps.
    bool moveService(const std::string& id, const std::optional<std::string>& before);

    // Puts a valid work set's services (its copies, with their pages) at the
    // head, followed by the other services in their old order; clears the
    // set's tombstones and stamps `modifiedAt`. An invalid set changes nothing
    // and returns false.
    bool apply(const WorkSet& workSet, const Clock& clock = SystemClock::shared());

    // One-time repair: the catalogue's "youtube" row first (stamped now), then
    // the other services without "youtube" and "brave"; "brave" is tombstoned.
    void restoreYouTubeDefault(const Clock& clock = SystemClock::shared());

    friend bool operator==(const ServiceLibrary&, const ServiceLibrary&) = default;
};

}  // namespace meridavolt
