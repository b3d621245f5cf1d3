#include "platform/Json.h"

namespace meridavolt {

std::string encodeDataFileJSON(const nlohmann::json& value)
{
    std::string compact = value.dump(-1, ' ', false, nlohmann::json::error_handler_t::strict);
    // Outside strings JSON never contains "/", so every slash is inside one.
    std::string escaped;
    escaped.reserve(compact.size() + compact.size() / 16);
    for (char c : compact) {
        if (c == '/') escaped += '\\';
        escaped += c;
    }
    return escaped;
}

nlohmann::json parseJSONWithinDepth(std::string_view text)
{
    // The parser itself keeps its nesting on the heap; stopping here also
    // stops building a tree nobody could write back.
    return nlohmann::json::parse(text, [](int depth, nlohmann::json::parse_event_t, nlohmann::json&) {
        if (depth > maximumJSONDepth) throw JSONTooDeepError();
        return true;
    });
}

}  // namespace meridavolt
