#include "model/LibraryJSON.h"

#include "model/DecodingError.h"
#include "platform/Uuid.h"

#include <cmath>
#include <limits>

namespace meridavolt {

using nlohmann::json;

namespace {

const json& requireObject(const json& value, const char* what)
{
    if (!value.is_object()) throw DecodingError(std::string(what) + " is not an object");
    return value;
}

const json& member(const json& object, const char* key)
{
    auto found = object.find(key);
    if (found == object.end()) throw DecodingError(std::string("missing key \"") + key + "\"");
    return *found;
}

std::string decodeString(const json& value, const char* key)
{
    if (!value.is_string()) throw DecodingError(std::string("\"") + key + "\" is not a string");
    return value.get<std::string>();
}

int decodeInteger(const json& value, const char* key)
{
    const auto wrong = [key] { return DecodingError(std::string("\"") + key + "\" is not an integer"); };
    constexpr auto lowest = std::numeric_limits<int>::min();
    constexpr auto highest = std::numeric_limits<int>::max();
    if (value.is_number_unsigned()) {
        auto number = value.get<std::uint64_t>();
        if (number > static_cast<std::uint64_t>(highest)) throw wrong();
        return static_cast<int>(number);
    }
    if (value.is_number_integer()) {
        auto number = value.get<std::int64_t>();
        if (number < lowest || number > highest) throw wrong();
        return static_cast<int>(number);
    }
    if (value.is_number_float()) {
        double number = value.get<double>();
        if (std::trunc(number) != number || number < lowest || number > highest) throw wrong();
        return static_cast<int>(number);
    }
    throw wrong();
}

Date decodeDate(const json& value, const char* key)
{
    if (!value.is_number()) throw DecodingError(std::string("\"") + key + "\" is not a date number");
    return Date{value.get<double>()};
}

json encodeDate(Date date)
{
    if (!std::isfinite(date.sinceReferenceDate)) throw EncodingError("a date is not a finite number");
    return date.sinceReferenceDate;
}

const json::array_t& decodeArray(const json& value, const char* key)
{
    if (!value.is_array()) throw DecodingError(std::string("\"") + key + "\" is not an array");
    return value.get_ref<const json::array_t&>();
}

}  // namespace

json encodeQuickAction(const QuickAction& action) { return {{"title", action.title}, {"url", action.url}}; }

QuickAction decodeQuickAction(const json& value)
{
    requireObject(value, "a quick action");
    return QuickAction{decodeString(member(value, "title"), "title"), decodeString(member(value, "url"), "url")};
}

json encodeService(const Service& service)
{
    json actions = json::array();
    for (const auto& action : service.actions) actions.push_back(encodeQuickAction(action));
    json object{
        {"id", service.id},
        {"name", service.name},
        {"symbol", service.symbol},
        {"url", service.url},
        {"mode", std::string(rawValue(service.mode))},
        {"actions", std::move(actions)},
        {"modifiedAt", encodeDate(service.modifiedAt)},
    };
    if (service.appURL) object["appURL"] = *service.appURL;
    return object;
}

Service decodeService(const json& value)
{
    requireObject(value, "a service");
    Service service;
    service.id = decodeString(member(value, "id"), "id");
    service.name = decodeString(member(value, "name"), "name");
    service.symbol = decodeString(member(value, "symbol"), "symbol");
    service.url = decodeString(member(value, "url"), "url");
    auto mode = launchModeFromRawValue(decodeString(member(value, "mode"), "mode"));
    if (!mode) throw DecodingError("\"mode\" is neither \"embedded\" nor \"external\"");
    service.mode = *mode;
    // A null "appURL" reads as absent, like a missing one.
    if (auto appURL = value.find("appURL"); appURL != value.end() && !appURL->is_null()) {
        service.appURL = decodeString(*appURL, "appURL");
    }
    for (const auto& action : decodeArray(member(value, "actions"), "actions")) {
        service.actions.push_back(decodeQuickAction(action));
    }
    service.modifiedAt = decodeDate(member(value, "modifiedAt"), "modifiedAt");
    return service;
}

json encodeWorkSet(const WorkSet& workSet)
{
    json services = json::array();
    for (const auto& service : workSet.services) services.push_back(encodeService(service));
    auto id = canonicalUUID(workSet.id);
    if (!id) throw EncodingError("a work-set id is not a UUID");
    return {{"id", *id}, {"name", workSet.name}, {"services", std::move(services)}};
}

WorkSet decodeWorkSet(const json& value)
{
    requireObject(value, "a work set");
    WorkSet workSet;
    auto id = canonicalUUID(decodeString(member(value, "id"), "id"));
    if (!id) throw DecodingError("a work-set \"id\" is not a UUID");
    workSet.id = *id;
    workSet.name = decodeString(member(value, "name"), "name");
    for (const auto& service : decodeArray(member(value, "services"), "services")) {
        workSet.services.push_back(decodeService(service));
    }
    return workSet;
}

json encodeLibrary(const ServiceLibrary& library)
{
    json services = json::array();
    for (const auto& service : library.services) services.push_back(encodeService(service));
    json deletedIDs = json::object();
    for (const auto& [id, date] : library.deletedIDs) deletedIDs[id] = encodeDate(date);
    return {
        {"schemaVersion", library.schemaVersion},
        {"services", std::move(services)},
        {"deletedIDs", std::move(deletedIDs)},
        {"modifiedAt", encodeDate(library.modifiedAt)},
    };
}

ServiceLibrary decodeLibrary(const json& value)
{
    requireObject(value, "the library");
    ServiceLibrary library;
    library.schemaVersion = decodeInteger(member(value, "schemaVersion"), "schemaVersion");
    for (const auto& service : decodeArray(member(value, "services"), "services")) {
        library.services.push_back(decodeService(service));
    }
    const json& deletedIDs = requireObject(member(value, "deletedIDs"), "\"deletedIDs\"");
    for (const auto& [id, date] : deletedIDs.items()) library.deletedIDs[id] = decodeDate(date, "deletedIDs");
    library.modifiedAt = decodeDate(member(value, "modifiedAt"), "modifiedAt");
    return library;
}

json encodeWorkSetDocument(const WorkSetDocument& document)
{
    json sets = json::array();
    for (const auto& workSet : document.sets) sets.push_back(encodeWorkSet(workSet));
    return {{"version", document.version}, {"sets", std::move(sets)}};
}

WorkSetDocument decodeWorkSetDocument(const json& value)
{
    requireObject(value, "the work-sets document");
    WorkSetDocument document;
    document.version = decodeInteger(member(value, "version"), "version");
    for (const auto& workSet : decodeArray(member(value, "sets"), "sets")) {
        document.sets.push_back(decodeWorkSet(workSet));
    }
    return document;
}

}  // namespace meridavolt
