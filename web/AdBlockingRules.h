#pragma once

#include <array>
#include <string>

namespace meridavolt {

inline constexpr const char* adRuleListIdentifier = "meridavolt-youtube-ads-v1";

// The video site's public domain; its subdomains count as the site too.
inline constexpr const char* videoSiteDomain = "youtube.com";

// The hosts the ad rules name. The rules act only in pages of the video site
// (its bare, "www", "m" and "music" hosts) and block requests to the two ad
// networks and to the site's own ad paths.
struct AdRuleHosts {
    // Matched as "<scheme>://<any subdomains><videoSite>/"; a host with a port
    // ("localhost:8080") is allowed, the port being left out of the page hosts.
    std::string videoSite;
    std::array<std::string, 2> adNetworks;
};

AdRuleHosts videoSiteAdRuleHosts();

// The WebKit content rule list (JSON) for these hosts.
std::string adBlockingRuleList(const AdRuleHosts& hosts);

}  // namespace meridavolt
