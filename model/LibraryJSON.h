#pragma once

#include "model/Service.h"
#include "model/ServiceLibrary.h"
#include "model/WorkSet.h"

#include <nlohmann/json.hpp>

#include <stdexcept>
#include <string>

// The JSON form of the library's values, as the data files hold it: keys are
// the field names, dates are seconds since 2001-01-01 UTC as numbers, UUIDs
// are written in upper case and read in either case.
//
// Decoding throws DecodingError for a missing key, a value of the wrong type,
// an unknown launch mode or a work-set id that is not a UUID; it checks
// nothing beyond the form (no version, no duplicate ids).
namespace meridavolt {

// A value that has no JSON form, such as a date that is not a finite number.
class EncodingError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

nlohmann::json encodeQuickAction(const QuickAction& action);
QuickAction decodeQuickAction(const nlohmann::json& json);

nlohmann::json encodeService(const Service& service);
Service decodeService(const nlohmann::json& json);

nlohmann::json encodeWorkSet(const WorkSet& workSet);
WorkSet decodeWorkSet(const nlohmann::json& json);

nlohmann::json encodeLibrary(const ServiceLibrary& library);
ServiceLibrary decodeLibrary(const nlohmann::json& json);

// The top-level record of the work-sets file.
struct WorkSetDocument {
    int version = 1;
    std::vector<WorkSet> sets;
};

nlohmann::json encodeWorkSetDocument(const WorkSetDocument& document);
WorkSetDocument decodeWorkSetDocument(const nlohmann::json& json);

}  // namespace meridavolt
