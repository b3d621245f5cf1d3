#include "platform/SettingsFile.h"

#include "platform/DataFolder.h"
#include "platform/FileError.h"
#include "platform/Files.h"
#include "platform/Json.h"

namespace meridavolt {

namespace {
constexpr std::size_t maximumSettingsBytes = 4 * 1024 * 1024;
}

SettingsFile::SettingsFile(std::filesystem::path path) : path_(std::move(path))
{
    try {
        auto bytes = readFileIfExists(path_, maximumSettingsBytes);
        if (!bytes) return;
        auto parsed = parseDataFileJSON(*bytes);
        if (!parsed.is_object()) {
            readable_ = false;
            return;
        }
        values_ = std::move(parsed);
    } catch (const std::exception&) {
        readable_ = false;
    }
}

std::filesystem::path SettingsFile::defaultPath()
{
    return applicationConfigFolder() / "settings.json";
}

std::optional<bool> SettingsFile::boolValue(const std::string& key) const
{
    auto found = values_.find(key);
    if (found == values_.end() || !found->is_boolean()) return std::nullopt;
    return found->get<bool>();
}

std::optional<double> SettingsFile::numberValue(const std::string& key) const
{
    auto found = values_.find(key);
    if (found == values_.end() || !found->is_number()) return std::nullopt;
    return found->get<double>();
}

std::optional<std::string> SettingsFile::textValue(const std::string& key) const
{
    auto found = values_.find(key);
    if (found == values_.end() || !found->is_string()) return std::nullopt;
    return found->get<std::string>();
}

void SettingsFile::setBool(const std::string& key, bool value) { store(key, value); }
void SettingsFile::setNumber(const std::string& key, double value) { store(key, value); }
void SettingsFile::setText(const std::string& key, const std::string& value) { store(key, value); }

void SettingsFile::remove(const std::string& key)
{
    if (values_.erase(key) == 0) return;
    write();
    changed.emit(key);
}

void SettingsFile::store(const std::string& key, nlohmann::json value)
{
    values_[key] = std::move(value);
    write();
    changed.emit(key);
}

void SettingsFile::write()
{
    if (!readable_) return;
    try {
        // Compact, and refused past the reader's cap: a file the next start
        // could not read would lose every setting.
        const std::string bytes = values_.dump(-1, ' ', false, nlohmann::json::error_handler_t::strict);
        if (bytes.size() > maximumSettingsBytes) throw FileError::invalidFileName(path_.filename().string());
        writeFileAtomically(path_, bytes);
        lastWriteSucceeded_ = true;
    } catch (const std::exception&) {
        lastWriteSucceeded_ = false;
    }
}

}  // namespace meridavolt
