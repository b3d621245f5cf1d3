#pragma once

#include "update/ReleaseAddress.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <variant>

namespace meridavolt {

// An answer from the release server: any status, with its whole body.
struct HTTPResponse {
    long statusCode = 0;
    std::string body;
};

// Why a fetch gave no answer.
struct FetchFailure {
    enum class Reason {
        invalidRelease,  // not HTTP, or more bytes than the limit (announced or received)
        transport,       // connection, TLS or protocol failure
        timedOut,
        cancelled,
    };
    Reason reason;
    std::string description;  // the transport's own words, for tests and debugging
};

using FetchResult = std::variant<HTTPResponse, FetchFailure>;

// A running fetch.
class FetchTask {
public:
    virtual ~FetchTask() = default;
    // Stops the transfer; the completion then reports FetchFailure::cancelled
    // unless the fetch had already ended. Dropping the task does not cancel it.
    virtual void cancel() = 0;
};

// The fetcher of the update flow: a plain GET with a byte limit, fixed
// time-outs, no cookies, no stored state, and no redirect ever followed (a 3xx
// comes back as the answer). It judges no status.
class DistributionHTTP {
public:
    using Completion = std::function<void(FetchResult)>;

    virtual ~DistributionHTTP() = default;
    // The completion runs once, on the main thread, never before fetch returns.
    virtual std::unique_ptr<FetchTask> fetch(const ReleaseAddress& address, std::size_t limit,
                                             Completion completion) = 0;
};

}  // namespace meridavolt
