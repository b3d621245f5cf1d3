#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace meridavolt {

// One offered release, as signed by the maker.
struct FriendRelease {
    std::string purpose;
    std::string product;
    std::string version;  // shown to the user
    std::int64_t build = 0;
    std::string downloadURL;
    std::string sha256;  // of the disk image, lowercase hexadecimal

    FriendRelease() = default;
    // A release for this product, with purpose and product filled in.
    FriendRelease(std::string version, std::int64_t build, std::string downloadURL, std::string sha256);

    // Throws DistributionError::invalidRelease when any rule fails.
    void validate() const;

    // All six keys are required, other keys are ignored. Throws DistributionDecodingError.
    static FriendRelease decode(std::string_view json);
    // The six keys in field order, one compact line.
    std::string encode() const;

    friend bool operator==(const FriendRelease&, const FriendRelease&) = default;
};

}  // namespace meridavolt
