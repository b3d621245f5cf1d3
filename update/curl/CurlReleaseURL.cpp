#include "update/curl/CurlReleaseURL.h"

#include "update/DistributionConstants.h"

#include <optional>
#include <string>

namespace meridavolt {

namespace {

// The part's text, or nothing when the URL has no such part.
std::optional<std::string> part(CURLU* url, CURLUPart which)
{
    char* text = nullptr;
    if (curl_url_get(url, which, &text, 0) != CURLUE_OK) return std::nullopt;
    std::string value = text;
    curl_free(text);
    return value;
}

}  // namespace

CurlURL curlReleaseURL(const ReleaseAddress& address)
{
    CurlURL url(curl_url());
    if (!url || curl_url_set(url.get(), CURLUPART_URL, address.text().c_str(), 0) != CURLUE_OK) return nullptr;
    const bool readAsChecked = part(url.get(), CURLUPART_SCHEME) == "https" &&
                               part(url.get(), CURLUPART_HOST) == std::string(releaseHost) &&
                               part(url.get(), CURLUPART_PATH) == address.path() &&
                               !part(url.get(), CURLUPART_USER) && !part(url.get(), CURLUPART_PASSWORD) &&
                               !part(url.get(), CURLUPART_OPTIONS) && !part(url.get(), CURLUPART_PORT) &&
                               !part(url.get(), CURLUPART_QUERY) && !part(url.get(), CURLUPART_FRAGMENT) &&
                               !part(url.get(), CURLUPART_ZONEID);
    return readAsChecked ? std::move(url) : nullptr;
}

}  // namespace meridavolt
