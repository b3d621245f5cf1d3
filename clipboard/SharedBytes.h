#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace meridavolt {

// Immutable bytes shared between copies. Entries are copied freely by the
// searches and the views; sharing keeps those copies from duplicating images
// of up to 12 MiB.
class SharedBytes {
public:
    SharedBytes() : bytes_(emptyBytes()) {}
    explicit SharedBytes(std::string bytes) : bytes_(std::make_shared<const std::string>(std::move(bytes))) {}

    const std::string& str() const { return *bytes_; }
    std::string_view view() const { return *bytes_; }
    const char* data() const { return bytes_->data(); }
    std::size_t size() const { return bytes_->size(); }
    bool empty() const { return bytes_->empty(); }

    friend bool operator==(const SharedBytes& a, const SharedBytes& b)
    {
        return a.bytes_ == b.bytes_ || *a.bytes_ == *b.bytes_;
    }

private:
    static const std::shared_ptr<const std::string>& emptyBytes()
    {
        static const auto empty = std::make_shared<const std::string>();
        return empty;
    }

    std::shared_ptr<const std::string> bytes_;
};

}  // namespace meridavolt
