#include "update/curl/CurlDistributionHTTP.h"

#include "update/curl/CurlReleaseURL.h"

#include <curl/curl.h>

#include <algorithm>
#include <atomic>
#include <mutex>

namespace meridavolt {

namespace {

using SteadyClock = std::chrono::steady_clock;

constexpr std::size_t initialBufferLimit = 1'048'576;

struct EasyFree {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct ListFree {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

}  // namespace

// One fetch: shared by its worker thread, its FetchTask and the posted result.
struct CurlDistributionHTTP::Transfer {
    CurlURL url;
    std::size_t limit = 0;
    Completion completion;
    CurlTimeouts timeouts;
    std::optional<CurlTestRoute> testRoute;

    std::atomic<bool> cancelled = false;
    std::atomic<bool> finished = false;

    // Worker thread only.
    CURL* easy = nullptr;
    std::string body;
    bool overLimit = false;
    bool idleTimedOut = false;
    // The idle clock runs from the moment the request goes out; until then the
    // connect time-out governs.
    bool requestSent = false;
    SteadyClock::time_point lastActivity;
    char errorText[CURL_ERROR_SIZE] = "";

    FetchResult run();
    FetchResult outcome(CURLcode code);
};

namespace {

class CurlFetchTask final : public FetchTask {
public:
    explicit CurlFetchTask(std::shared_ptr<CurlDistributionHTTP::Transfer> transfer) : transfer_(std::move(transfer)) {}
    void cancel() override { transfer_->cancelled = true; }

private:
    std::shared_ptr<CurlDistributionHTTP::Transfer> transfer_;
};

// Counts the body as it arrives and stops the transfer at the first byte past the limit.
size_t receiveBody(char* data, size_t size, size_t count, void* context)
{
    auto* transfer = static_cast<CurlDistributionHTTP::Transfer*>(context);
    const std::size_t length = size * count;
    transfer->lastActivity = SteadyClock::now();
    if (transfer->cancelled) return CURL_WRITEFUNC_ERROR;
    if (length > transfer->limit - transfer->body.size()) {
        transfer->overLimit = true;
        return CURL_WRITEFUNC_ERROR;
    }
    transfer->body.append(data, length);
    return length;
}

// At the end of a final response's head, refuses an announced length over the
// limit before any body byte is read.
size_t receiveHeader(char* data, size_t size, size_t count, void* context)
{
    auto* transfer = static_cast<CurlDistributionHTTP::Transfer*>(context);
    const std::size_t length = size * count;
    transfer->lastActivity = SteadyClock::now();
    const std::string_view line(data, length);
    if (line != "\r\n" && line != "\n") return length;
    long status = 0;
    curl_off_t announced = -1;
    curl_easy_getinfo(transfer->easy, CURLINFO_RESPONSE_CODE, &status);
    curl_easy_getinfo(transfer->easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced);
    const bool interim = status >= 100 && status < 200;
    if (!interim && announced > 0 && static_cast<std::uint64_t>(announced) > transfer->limit) {
        transfer->overLimit = true;
        return 0;
    }
    return length;
}

// Runs once the connection stands, right before the request is sent.
int startIdleClock(void* context, char*, char*, int, int)
{
    auto* transfer = static_cast<CurlDistributionHTTP::Transfer*>(context);
    transfer->requestSent = true;
    transfer->lastActivity = SteadyClock::now();
    return CURL_PREREQFUNC_OK;
}

// Runs at least once a second while the transfer lives: cancellation and the idle time-out.
int watchProgress(void* context, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    auto* transfer = static_cast<CurlDistributionHTTP::Transfer*>(context);
    if (transfer->cancelled) return 1;
    if (transfer->requestSent && SteadyClock::now() - transfer->lastActivity > transfer->timeouts.idle) {
        transfer->idleTimedOut = true;
        return 1;
    }
    return 0;
}

}  // namespace

FetchResult CurlDistributionHTTP::Transfer::run()
{
    std::unique_ptr<CURL, EasyFree> handle(curl_easy_init());
    if (!handle) return FetchFailure{FetchFailure::Reason::transport, "curl_easy_init failed"};
    easy = handle.get();
    body.reserve(std::min(limit, initialBufferLimit));

    std::unique_ptr<curl_slist, ListFree> connectTo;
    curl_easy_setopt(easy, CURLOPT_CURLU, url.get());
    curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "https");
    curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "https");
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, errorText);
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(timeouts.connect.count()));
    curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, static_cast<long>(timeouts.total.count()));
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, receiveBody);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, receiveHeader);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, this);
    curl_easy_setopt(easy, CURLOPT_PREREQFUNCTION, startIdleClock);
    curl_easy_setopt(easy, CURLOPT_PREREQDATA, this);
    curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, watchProgress);
    curl_easy_setopt(easy, CURLOPT_XFERINFODATA, this);
    if (testRoute) {
        connectTo.reset(curl_slist_append(nullptr, testRoute->connectTo.c_str()));
        curl_easy_setopt(easy, CURLOPT_CONNECT_TO, connectTo.get());
        curl_easy_setopt(easy, CURLOPT_CAINFO, testRoute->certificateAuthorityFile.c_str());
        curl_easy_setopt(easy, CURLOPT_PROXY, "");
    }
    const CURLcode code = curl_easy_perform(easy);
    auto result = outcome(code);
    easy = nullptr;
    return result;
}

FetchResult CurlDistributionHTTP::Transfer::outcome(CURLcode code)
{
    const std::string description = errorText[0] != '\0' ? errorText : curl_easy_strerror(code);
    if (overLimit) return FetchFailure{FetchFailure::Reason::invalidRelease, "over the byte limit"};
    if (cancelled) return FetchFailure{FetchFailure::Reason::cancelled, "cancelled"};
    if (idleTimedOut || code == CURLE_OPERATION_TIMEDOUT) return FetchFailure{FetchFailure::Reason::timedOut, description};
    if (code != CURLE_OK) return FetchFailure{FetchFailure::Reason::transport, description};
    long status = 0;
    curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
    if (status < 100) return FetchFailure{FetchFailure::Reason::invalidRelease, "not an HTTP response"};
    return HTTPResponse{status, std::move(body)};
}

CurlDistributionHTTP::CurlDistributionHTTP(Scheduler& scheduler, CurlTimeouts timeouts,
                                           std::optional<CurlTestRoute> testRoute)
    : scheduler_(scheduler), timeouts_(timeouts), testRoute_(std::move(testRoute))
{
    // Global set-up is not thread-safe: do it here, on the main thread, before any worker starts.
    static std::once_flag initialised;
    std::call_once(initialised, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

CurlDistributionHTTP::~CurlDistributionHTTP()
{
    for (auto& worker : workers_) worker.transfer->cancelled = true;
    for (auto& worker : workers_) worker.thread.join();
}

std::unique_ptr<FetchTask> CurlDistributionHTTP::fetch(const ReleaseAddress& address, std::size_t limit,
                                                       Completion completion)
{
    joinFinishedWorkers();
    auto transfer = std::make_shared<Transfer>();
    transfer->url = curlReleaseURL(address);
    transfer->limit = limit;
    transfer->completion = std::move(completion);
    transfer->timeouts = timeouts_;
    transfer->testRoute = testRoute_;

    if (!transfer->url) {
        scheduler_.post([transfer] {
            transfer->completion(FetchFailure{FetchFailure::Reason::invalidRelease, "address read differently"});
        });
        transfer->finished = true;
        return std::make_unique<CurlFetchTask>(transfer);
    }
    std::thread thread([this, transfer] {
        auto result = std::make_shared<FetchResult>(transfer->run());
        transfer->finished = true;
        scheduler_.post([transfer, result] { transfer->completion(std::move(*result)); });
    });
    workers_.push_back(Worker{std::move(thread), transfer});
    return std::make_unique<CurlFetchTask>(transfer);
}

void CurlDistributionHTTP::joinFinishedWorkers()
{
    std::erase_if(workers_, [](Worker& worker) {
        if (!worker.transfer->finished) return false;
        worker.thread.join();
        return true;
    });
}

}  // namespace meridavolt
