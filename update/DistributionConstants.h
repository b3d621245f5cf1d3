#pragma once

#include <cstddef>
#include <string_view>

// The build system passes the packaging input; a build without one names a
// host that never resolves, and its configuration does not load either.
#ifndef MERIDAVOLT_RELEASE_HOST
#define MERIDAVOLT_RELEASE_HOST "releases.meridavolt.invalid"
#endif

namespace meridavolt {

// The maker's web server: release addresses must name exactly this host.
inline constexpr std::string_view releaseHost = MERIDAVOLT_RELEASE_HOST;

// The one manifest address the configuration may name.
inline constexpr std::string_view releaseFeedAddress = "https://" MERIDAVOLT_RELEASE_HOST "/meridavolt/releases.json";

// Releases are offered for this product only.
inline constexpr std::string_view releaseProduct = "com.pellowright.meridavolt";
inline constexpr std::string_view releasePurpose = "friend-release";

// Bounds on what an answer from the network can make the application hold.
inline constexpr std::size_t manifestByteLimit = 64'000;
inline constexpr std::size_t diskImageByteLimit = 209'715'200;
inline constexpr std::size_t signedPayloadByteLimit = 64'000;

}  // namespace meridavolt
