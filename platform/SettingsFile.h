#pragma once

#include "platform/Settings.h"

#include <filesystem>
#include <nlohmann/json.hpp>

namespace meridavolt {

// Settings kept in one JSON file ("settings.json" in the config folder),
// rewritten atomically on every change. A file that exists but cannot be read
// or parsed is never overwritten: the values start empty and changes live only
// in memory for the run.
class SettingsFile final : public Settings {
public:
    explicit SettingsFile(std::filesystem::path path);

    static std::filesystem::path defaultPath();

    std::optional<bool> boolValue(const std::string& key) const override;
    std::optional<double> numberValue(const std::string& key) const override;
    std::optional<std::string> textValue(const std::string& key) const override;

    void setBool(const std::string& key, bool value) override;
    void setNumber(const std::string& key, double value) override;
    void setText(const std::string& key, const std::string& value) override;
    void remove(const std::string& key) override;

    bool isReadable() const override { return readable_; }
    bool lastWriteSucceeded() const override { return lastWriteSucceeded_; }

private:
    void store(const std::string& key, nlohmann::json value);
    void write();

    std::filesystem::path path_;
    nlohmann::json values_ = nlohmann::json::object();
    bool readable_ = true;
    bool lastWriteSucceeded_ = true;
};

}  // namespace meridavolt
