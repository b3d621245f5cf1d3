#include "update/DistributionConfig.h"

#include "update/DistributionConstants.h"
#include "update/DistributionError.h"
#include "update/JSONFields.h"

#include <gio/gio.h>

namespace meridavolt {

namespace {

constexpr const char* resourcePath = "/com/pellowright/meridavolt/distribution-config.json";
constexpr std::size_t ed25519KeySize = 32;

}  // namespace

DistributionConfig DistributionConfig::decode(std::string_view json)
{
    const auto object = jsonFields::parseObject(json);
    DistributionConfig config;
    config.publicKey = jsonFields::requiredBytes(object, "publicKey");
    config.updateFeedURL = jsonFields::requiredString(object, "updateFeedURL");
    return config;
}

std::optional<DistributionConfig> DistributionConfig::load(std::string_view json)
{
    try {
        auto config = decode(json);
        if (config.valid()) return config;
    } catch (const DistributionDecodingError&) {
    }
    return std::nullopt;
}

std::optional<DistributionConfig> DistributionConfig::load()
{
    GBytes* bytes = g_resources_lookup_data(resourcePath, G_RESOURCE_LOOKUP_FLAGS_NONE, nullptr);
    if (!bytes) return std::nullopt;
    gsize size = 0;
    const auto* data = static_cast<const char*>(g_bytes_get_data(bytes, &size));
    auto config = load(std::string_view(data ? data : "", size));
    g_bytes_unref(bytes);
    return config;
}

bool DistributionConfig::valid() const
{
    return publicKey.size() == ed25519KeySize && updateFeedURL == releaseFeedAddress;
}

}  // namespace meridavolt
