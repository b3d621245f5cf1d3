#pragma once

#include "model/Service.h"
#include "model/WorkSet.h"
#include "platform/Date.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace meridavolt {

// The two one-time repairs of stored libraries and work sets that run at
// start-up, as plain functions of the values they repair.

// The host of an address, lower-cased; none when it has none.
std::optional<std::string> lowercasedHost(std::string_view url);

// The design service ("canva") on its own site opened outside in early
// versions; it now opens inside. Every other service comes back unchanged.
Service openingCanvaInside(Service service, Date now);

// The video service replaced the "brave" entry of early work sets: each
// "brave" becomes the catalogue's "youtube" row, and later repeats of an id
// in the same set are dropped so the first occurrence stays.
std::vector<WorkSet> replacingBraveWithYouTube(std::vector<WorkSet> sets);

}  // namespace meridavolt
