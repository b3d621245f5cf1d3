#pragma once

#include "clipboard/ClipboardEntry.h"
#include "clipboard/ClipboardStore.h"
#include "model/Service.h"

#include <cstddef>
#include <string>
#include <vector>

namespace meridavolt {

// What the quick launcher lists for one query.
namespace launcherSearch {

// The characters of an entry's text that a memory row shows.
inline constexpr std::size_t previewLength = 100;

// The services whose name contains the query, ignoring case, in library
// order; all of them for an empty query. The query is used as typed: a
// trailing blank must match too.
std::vector<Service> services(const std::vector<Service>& library, const std::string& query);

struct MemoryRow {
    ClipboardEntry entry;
    std::string preview;  // the first 100 characters of the text
    bool pinned = false;
};

// One row per entry the memory finds for the query, in its order.
std::vector<MemoryRow> memory(const ClipboardStore& store, const std::string& query);

std::string preview(const std::string& text);

}  // namespace launcherSearch

}  // namespace meridavolt
