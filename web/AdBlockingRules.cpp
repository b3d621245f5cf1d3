#include "web/AdBlockingRules.h"

#include <nlohmann/json.hpp>

namespace meridavolt {

namespace {

const char* const subdomainPrefix = "^https?://([a-z0-9-]+\\.)*";

const char* const adElementSelector =
    "ytd-ad-slot-renderer, ytd-display-ad-renderer, ytd-promoted-sparkles-web-renderer, "
    "ytd-promoted-video-renderer, ytd-in-feed-ad-layout-renderer, ytd-banner-promo-renderer, "
    "ytm-promoted-sparkles-web-renderer, ytm-companion-ad-renderer, #player-ads, .ytp-ad-overlay-container";

std::string escapedDots(const std::string& host)
{
    std::string escaped;
    for (char c : host) {
        if (c == '.') escaped += '\\';
        escaped += c;
    }
    return escaped;
}

std::string withoutPort(const std::string& host)
{
    return host.substr(0, host.find(':'));
}

nlohmann::json blockRule(const std::string& urlFilter, const nlohmann::json& resourceTypes,
                         const nlohmann::json& pageHosts)
{
    return {{"trigger", {{"url-filter", urlFilter}, {"if-domain", pageHosts}, {"resource-type", resourceTypes}}},
            {"action", {{"type", "block"}}}};
}

}  // namespace

AdRuleHosts videoSiteAdRuleHosts()
{
    return AdRuleHosts{videoSiteDomain, {"doubleclick.net", "googlesyndication.com"}};
}

std::string adBlockingRuleList(const AdRuleHosts& hosts)
{
    const std::string site = withoutPort(hosts.videoSite);
    const nlohmann::json pageHosts = {site, "www." + site, "m." + site, "music." + site};
    const nlohmann::json allNetworkTypes = {"image", "style-sheet", "script", "font", "raw", "media", "popup"};
    const nlohmann::json sitePathTypes = {"image", "script", "raw"};
    const std::string siteFilter = subdomainPrefix + escapedDots(hosts.videoSite);

    nlohmann::json rules = nlohmann::json::array();
    for (const auto& network : hosts.adNetworks) {
        rules.push_back(blockRule(subdomainPrefix + escapedDots(network) + "/", allNetworkTypes, pageHosts));
    }
    rules.push_back(blockRule(siteFilter + "/pagead/", sitePathTypes, pageHosts));
    rules.push_back(blockRule(siteFilter + "/api/stats/ads", sitePathTypes, pageHosts));
    rules.push_back({{"trigger", {{"url-filter", ".*"}, {"if-domain", pageHosts}}},
                     {"action", {{"type", "css-display-none"}, {"selector", adElementSelector}}}});
    return rules.dump();
}

}  // namespace meridavolt
