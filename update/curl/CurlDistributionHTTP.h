#pragma once

#include "platform/Scheduler.h"
#include "update/DistributionHTTP.h"

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace meridavolt {

// How long a fetch may take. Both requests of the update flow use the same
// bounds: the request's 60-second interval limits the connection attempt (name
// lookup, TCP and TLS); once the request is sent, 20 seconds without a byte of
// the answer (head or body) end it as idle; 600 seconds end it in all.
struct CurlTimeouts {
    std::chrono::milliseconds connect{60'000};
    std::chrono::milliseconds idle{20'000};
    std::chrono::milliseconds total{600'000};
};

// Sends the release host's connections to a local server and trusts that
// server's throw-away certificate authority; the address, the TLS server name
// and the certificate check keep the real host. For tests only: neither the
// configuration nor the environment can set it.
struct CurlTestRoute {
    std::string connectTo;  // CURLOPT_CONNECT_TO form, "host:443:127.0.0.1:8443"
    std::string certificateAuthorityFile;
};

// The update fetcher on libcurl. Every fetch runs on a worker thread of its
// own with a fresh easy handle: https only, no cookie engine, no redirect
// followed, the byte limit checked against the announced length and counted as
// bytes arrive. Results are posted to the scheduler's main thread.
class CurlDistributionHTTP final : public DistributionHTTP {
public:
    explicit CurlDistributionHTTP(Scheduler& scheduler, CurlTimeouts timeouts = {},
                                  std::optional<CurlTestRoute> testRoute = std::nullopt);
    // Cancels the transfers still running and waits for their threads.
    ~CurlDistributionHTTP() override;

    std::unique_ptr<FetchTask> fetch(const ReleaseAddress& address, std::size_t limit, Completion completion) override;

    struct Transfer;

private:
    struct Worker {
        std::thread thread;
        std::shared_ptr<Transfer> transfer;
    };
    void joinFinishedWorkers();

    Scheduler& scheduler_;
    CurlTimeouts timeouts_;
    std::optional<CurlTestRoute> testRoute_;
    std::vector<Worker> workers_;
};

}  // namespace meridavolt
