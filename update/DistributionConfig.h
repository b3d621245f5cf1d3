#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace meridavolt {

// The update settings compiled into the program as the resource
// "distribution-config.json": the release signer's Ed25519 key and the
// manifest address, which must repeat releaseFeedAddress.
struct DistributionConfig {
    std::string publicKey;  // raw key bytes
    std::string updateFeedURL;

    // Both keys are required, other keys are ignored. Throws DistributionDecodingError.
    static DistributionConfig decode(std::string_view json);

    // The compiled-in resource, decoded and valid; nothing on any failure.
    static std::optional<DistributionConfig> load();
    // The same for given resource bytes.
    static std::optional<DistributionConfig> load(std::string_view json);

    // The key holds 32 bytes and the address is releaseFeedAddress, character for character.
    bool valid() const;
};

}  // namespace meridavolt
