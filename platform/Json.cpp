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

nlohmann::json parseDataFileJSON(std::string_view text, std::size_t maximumValues)
{
    // The callback runs as each value starts, before it joins the tree, so a
    // refused file costs no more than the part read so far.
    std::size_t values = 0;
    return nlohmann::json::parse(text, [&](int depth, nlohmann::json::parse_event_t event, nlohmann::json&) {
        using Event = nlohmann::json::parse_event_t;
        if (depth > maximumJSONDepth) throw JSONBeyondLimitsError();
        const bool startsValue = event == Event::value || event == Event::object_start || event == Event::array_start;
        if (startsValue && ++values > maximumValues) throw JSONBeyondLimitsError();
        return true;
    });
}

}  // namespace meridavolt
