#pragma once

#include "TestCertificates.h"
#include "TlsTestServer.h"
#include "fakes/ReleaseSigner.h"
#include "fakes/TemporaryFolder.h"
#include "update/curl/CurlDistributionHTTP.h"
#include "platform/glib/MainLoopScheduler.h"
#include "support/MainLoopWait.h"

#include <gtest/gtest.h>

namespace meridavolt::testing {

// The release host served over real TLS on 127.0.0.1: a throw-away authority,
// a certificate for releaseHost, and the client routed there by the test-only
// transport option.
class ReleaseServerFixture : public ::testing::Test {
protected:
    CurlTestRoute route() const
    {
        return {std::string(releaseHost) + ":443:127.0.0.1:" + std::to_string(server.port()),
                certificates.authorityFile().string()};
    }

    std::shared_ptr<CurlDistributionHTTP> makeHTTP(CurlTimeouts timeouts = quickTimeouts())
    {
        return std::make_shared<CurlDistributionHTTP>(MainLoopScheduler::shared(), timeouts, route());
    }

    // Long enough for any real answer on the loopback, short enough that a test
    // that waits for a time-out finishes in a few seconds.
    static CurlTimeouts quickTimeouts()
    {
        return {std::chrono::seconds(5), std::chrono::seconds(1), std::chrono::seconds(30)};
    }

    FetchResult fetch(DistributionHTTP& http, const std::string& path, std::size_t limit)
    {
        auto address = ReleaseAddress::parse(fakes::releaseURL(path));
        EXPECT_TRUE(address.has_value()) << path;
        auto result = std::make_shared<std::optional<FetchResult>>();
        auto task = http.fetch(*address, limit, [result](FetchResult answer) { *result = std::move(answer); });
        EXPECT_TRUE(waitUntil([&] { return result->has_value(); }, std::chrono::seconds(20))) << path;
        return result->value_or(FetchResult(FetchFailure{FetchFailure::Reason::transport, "no answer"}));
    }

    fakes::TemporaryFolder folder;
    TestCertificates certificates{std::string(releaseHost), folder / "authority.pem"};
    TlsTestServer server{certificates.serverKey(), certificates.serverCertificate()};
};

inline const HTTPResponse* responseOf(const FetchResult& result)
{
    return std::get_if<HTTPResponse>(&result);
}

inline std::optional<FetchFailure::Reason> failureOf(const FetchResult& result)
{
    if (auto* failure = std::get_if<FetchFailure>(&result)) return failure->reason;
    return std::nullopt;
}

}  // namespace meridavolt::testing
