#pragma once

#include "model/Service.h"

#include <string_view>
#include <vector>

// The built-in services the application knows before the user adds any. The
// rows are built once, on first use (from any thread), and share that moment
// as their `modifiedAt`; copies taken from them are independent values.
namespace meridavolt::Catalog {

// The 13 rows, in catalogue order.
const std::vector<Service>& all();

// The library of a first launch: the first six rows ("safari" to "note").
const std::vector<Service>& initial();

// The rows offered for adding: all of them.
const std::vector<Service>& available();

// The row with this id, or nullptr.
const Service* find(std::string_view id);

}  // namespace meridavolt::Catalog
