#pragma once

#include <string_view>

// Readings of the link formats another program (or a page) drops on a web
// view. The engine loads a dropped link itself when the page does not take
// the drop, and such a load runs a script address without asking the
// navigation policy.
namespace meridavolt::DroppedLinks {

// Whether a text/uri-list holds a script address on any of its lines, however
// the engine splits it into lines.
bool uriListRunsScript(std::string_view list);

// Whether a _NETSCAPE_URL (the address, a line break, the title) holds a
// script address.
bool netscapeURLRunsScript(std::string_view link);

}  // namespace meridavolt::DroppedLinks
