#pragma once

#include "platform/Settings.h"

#include <map>
#include <variant>

namespace meridavolt::fakes {

class MemorySettings final : public Settings {
public:
    using Value = std::variant<bool, double, std::string>;

    std::optional<bool> boolValue(const std::string& key) const override { return get<bool>(key); }
    std::optional<double> numberValue(const std::string& key) const override { return get<double>(key); }
    std::optional<std::string> textValue(const std::string& key) const override { return get<std::string>(key); }

    void setBool(const std::string& key, bool value) override { put(key, value); }
    void setNumber(const std::string& key, double value) override { put(key, value); }
    void setText(const std::string& key, const std::string& value) override { put(key, value); }
    void remove(const std::string& key) override
    {
        values.erase(key);
        lastWriteSucceeded_ = writable;
        changed.emit(key);
    }

    bool isReadable() const override { return readable; }
    bool lastWriteSucceeded() const override { return lastWriteSucceeded_; }

    std::map<std::string, Value> values;
    bool readable = true;
    bool writable = true;  // false: every change stays in memory and reports a failed write

private:
    template <typename T>
    std::optional<T> get(const std::string& key) const
    {
        auto found = values.find(key);
        if (found == values.end()) return std::nullopt;
        if (auto value = std::get_if<T>(&found->second)) return *value;
        return std::nullopt;
    }
    void put(const std::string& key, Value value)
    {
        values[key] = std::move(value);
        lastWriteSucceeded_ = writable;
        changed.emit(key);
    }

    bool lastWriteSucceeded_ = true;
};

}  // namespace meridavolt::fakes
