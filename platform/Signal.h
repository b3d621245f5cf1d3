#pragma once

#include <functional>
#include <memory>
#include <vector>

namespace meridavolt {

// A connection to a Signal. Disconnects when destroyed, so an observer that
// goes away never gets called.
class Connection {
public:
    Connection() = default;
    explicit Connection(std::weak_ptr<bool> alive) : alive_(std::move(alive)) {}
    Connection(Connection&&) noexcept = default;
    Connection& operator=(Connection&& other) noexcept
    {
        disconnect();
        alive_ = std::move(other.alive_);
        return *this;
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    ~Connection() { disconnect(); }

    void disconnect()
    {
        if (auto flag = alive_.lock()) *flag = false;
        alive_.reset();
    }

private:
    std::weak_ptr<bool> alive_;
};

// Publish/subscribe for the observable state objects. Handlers may connect
// or disconnect others while an emission runs.
template <typename... Args>
class Signal {
public:
    [[nodiscard]] Connection connect(std::function<void(Args...)> handler)
    {
        auto alive = std::make_shared<bool>(true);
        slots_.push_back(Slot{alive, std::make_shared<std::function<void(Args...)>>(std::move(handler))});
        return Connection(alive);
    }

    void emit(Args... args)
    {
        auto snapshot = slots_;
        for (auto& slot : snapshot) {
            if (*slot.alive) (*slot.handler)(args...);
        }
        std::erase_if(slots_, [](const Slot& slot) { return !*slot.alive; });
    }

private:
    struct Slot {
        std::shared_ptr<bool> alive;
        std::shared_ptr<std::function<void(Args...)>> handler;
    };
    std::vector<Slot> slots_;
};

}  // namespace meridavolt
