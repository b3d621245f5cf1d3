#pragma once

#include "update/ReleaseAddress.h"

#include <curl/curl.h>

#include <memory>

namespace meridavolt {

struct CurlURLFree {
    void operator()(CURLU* url) const { curl_url_cleanup(url); }
};
using CurlURL = std::unique_ptr<CURLU, CurlURLFree>;

// The address parsed once by libcurl, or nothing when libcurl reads it in any
// way other than the checked one: another scheme, host or path, or any user,
// password, port, query or fragment. The transfer then fetches this very
// handle, so the path that was checked is the path fetched.
CurlURL curlReleaseURL(const ReleaseAddress& address);

}  // namespace meridavolt
