#pragma once

#include "clipboard/DropItem.h"

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace meridavolt::fakes {

// A dropped item with the representations a test gives it. Loads answer at
// once, or, when `deferred`, only when the test calls answerAll(); every load
// is recorded in order.
class FakeDropItem final : public DropItem {
public:
    FakeDropItem(std::vector<std::string> offered, std::map<std::string, std::optional<std::string>> data = {},
                 std::optional<std::string> text = std::nullopt)
        : offered_(std::move(offered)), data_(std::move(data)), text_(std::move(text))
    {
    }

    std::vector<std::string> types() const override { return offered_; }

    void loadData(const std::string& type, Loaded done) override
    {
        loads.push_back(type);
        auto found = data_.find(type);
        answer(std::move(done), found != data_.end() ? found->second : std::nullopt);
    }

    void loadText(Loaded done) override
    {
        loads.push_back("text");
        answer(std::move(done), text_);
    }

    void answerAll()
    {
        while (!pending_.empty()) {
            auto next = std::move(pending_.front());
            pending_.pop_front();
            next();
        }
    }

    bool deferred = false;
    std::vector<std::string> loads;

private:
    void answer(Loaded done, std::optional<std::string> value)
    {
        if (!deferred) return done(std::move(value));
        pending_.push_back([done = std::move(done), value = std::move(value)] { done(value); });
    }

    std::vector<std::string> offered_;
    std::map<std::string, std::optional<std::string>> data_;
    std::optional<std::string> text_;
    std::deque<std::function<void()>> pending_;
};

}  // namespace meridavolt::fakes
