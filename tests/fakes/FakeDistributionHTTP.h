#pragma once

#include "update/DistributionHTTP.h"

#include <string>
#include <vector>

namespace meridavolt::fakes {

// A fetcher whose answers the test gives by hand, in any order.
class FakeDistributionHTTP final : public DistributionHTTP {
public:
    struct Request {
        std::string address;
        std::size_t limit;
        Completion completion;
        bool cancelled = false;
    };

    std::unique_ptr<FetchTask> fetch(const ReleaseAddress& address, std::size_t limit, Completion completion) override
    {
        requests.push_back({address.text(), limit, std::move(completion)});
        return std::make_unique<Task>(*this, requests.size() - 1);
    }

    // Delivers the answer of a pending request, as the main loop would.
    void answer(std::size_t index, FetchResult result)
    {
        auto completion = std::move(requests.at(index).completion);
        completion(std::move(result));
    }
    void answerLast(FetchResult result) { answer(requests.size() - 1, std::move(result)); }
    void respondLast(long status, std::string body) { answerLast(HTTPResponse{status, std::move(body)}); }

    std::vector<Request> requests;

private:
    class Task final : public FetchTask {
    public:
        Task(FakeDistributionHTTP& owner, std::size_t index) : owner_(owner), index_(index) {}
        void cancel() override { owner_.requests.at(index_).cancelled = true; }

    private:
        FakeDistributionHTTP& owner_;
        std::size_t index_;
    };
};

}  // namespace meridavolt::fakes
