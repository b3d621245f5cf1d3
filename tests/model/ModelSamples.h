#pragma once

#include "model/Service.h"
#include "model/WorkSet.h"
#include "platform/FileError.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace meridavolt {

// Readable failures for the model's values.
inline void PrintTo(const Service& service, std::ostream* out) { *out << "Service(" << service.id << ")"; }

namespace samples {

inline Service service(const std::string& id, double modifiedAt = 700000000.5)
{
    return Service{id, "Name " + id, "globe", "https://" + id + ".example.com", LaunchMode::embedded,
                   std::nullopt, {}, Date{modifiedAt}};
}

inline std::vector<std::string> idsOf(const std::vector<Service>& services)
{
    std::vector<std::string> ids;
    for (const auto& s : services) ids.push_back(s.id);
    return ids;
}

inline WorkSet workSet(const std::string& id, const std::string& name, std::vector<Service> services)
{
    return WorkSet{id, name, std::move(services)};
}

// Runs `action` and checks that it throws a FileError with `code`.
template <typename Action>
void expectFileError(Action&& action, FileError::Code code)
{
    try {
        action();
        ADD_FAILURE() << "no FileError was thrown";
    } catch (const FileError& error) {
        EXPECT_EQ(error.code(), code) << error.localizedDescription();
    }
}

}  // namespace samples
}  // namespace meridavolt
