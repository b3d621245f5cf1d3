#pragma once

#include <string>

namespace meridavolt {

// The user-facing description of the exception being handled; call it only
// inside a catch block.
std::string describeCurrentException();

}  // namespace meridavolt
