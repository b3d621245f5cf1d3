#include "state/StartupMigrations.h"

#include "model/Catalog.h"

#include <glib.h>

#include <set>

namespace meridavolt {

namespace {

// The registered domain of the design service's home page.
constexpr std::string_view designSiteDomain = "canva.com";

bool isOnDomain(const std::string& host, std::string_view domain)
{
    if (host == domain) return true;
    return host.size() > domain.size() && host.ends_with(domain) && host[host.size() - domain.size() - 1] == '.';
}

}  // namespace

std::optional<std::string> lowercasedHost(std::string_view url)
{
    const std::string text(url);
    GUri* uri = g_uri_parse(text.c_str(), G_URI_FLAGS_NONE, nullptr);
    if (!uri) return std::nullopt;
    std::optional<std::string> host;
    if (const char* raw = g_uri_get_host(uri); raw && *raw) {
        char* lowered = g_ascii_strdown(raw, -1);
        host = lowered;
        g_free(lowered);
    }
    g_uri_unref(uri);
    return host;
}

Service openingCanvaInside(Service service, Date now)
{
    if (service.id != "canva" || service.mode != LaunchMode::external) return service;
    auto host = lowercasedHost(service.url);
    if (!host || !isOnDomain(*host, designSiteDomain)) return service;
    service.mode = LaunchMode::embedded;
    service.modifiedAt = now;
    return service;
}

std::vector<WorkSet> replacingBraveWithYouTube(std::vector<WorkSet> sets)
{
    const Service* youTube = Catalog::find("youtube");
    for (auto& set : sets) {
        std::vector<Service> services;
        std::set<std::string> seen;
        for (auto& service : set.services) {
            Service kept = (service.id == "brave" && youTube) ? *youTube : std::move(service);
            if (seen.insert(kept.id).second) services.push_back(std::move(kept));
        }
        set.services = std::move(services);
    }
    return sets;
}

}  // namespace meridavolt
