#include "platform/UserEnvironment.h"

#include <cstdlib>

namespace meridavolt {

void UserEnvironment::replace(const std::string& name, const std::string& value)
{
    if (!original_.count(name)) {
        const char* before = std::getenv(name.c_str());
        original_.emplace(name, before ? std::optional<std::string>(before) : std::nullopt);
    }
    ::setenv(name.c_str(), value.c_str(), 1);
}

UserEnvironment& processUserEnvironment()
{
    static UserEnvironment environment;
    return environment;
}

}  // namespace meridavolt
