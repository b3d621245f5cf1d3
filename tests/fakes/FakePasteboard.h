#pragma once

#include "clipboard/Pasteboard.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace meridavolt::fakes {

// An in-memory clipboard. Tests play another application with offer*() and
// inspect what the store wrote through the public fields.
class FakePasteboard final : public Pasteboard {
public:
    struct Content {
        std::vector<std::string> types;
        std::optional<SharedBytes> png;
        std::optional<SharedBytes> tiff;
        std::optional<std::string> string;
        std::optional<std::string> url;
    };

    std::int64_t changeCount() const override { return count; }
    void fetch(std::function<void()> ready) override
    {
        ++fetches;
        ready();
    }
    std::vector<std::string> types() const override { return content.types; }
    std::optional<SharedBytes> pngData() const override { return note(content.png); }
    std::optional<SharedBytes> tiffData() const override { return note(content.tiff); }
    std::optional<std::string> string() const override { return note(content.string); }
    std::optional<std::string> url() const override { return note(content.url); }

    void writeString(const std::string& text) override
    {
        replace(Content{{"text/plain;charset=utf-8"}, {}, {}, text, {}});
        ++writes;
    }
    void writePNG(const SharedBytes& png) override
    {
        replace(Content{{"image/png"}, png, {}, {}, {}});
        ++writes;
    }

    // Another application copies something.
    void offer(Content next) { replace(std::move(next)); }
    void offerString(const std::string& text, std::vector<std::string> extraTypes = {})
    {
        extraTypes.push_back("text/plain;charset=utf-8");
        replace(Content{std::move(extraTypes), {}, {}, text, {}});
    }

    Content content;
    std::int64_t count = 1;
    int writes = 0;
    int fetches = 0;
    mutable int contentReads = 0;  // reads of data or strings, not of types or the count

private:
    template <typename T>
    const T& note(const T& value) const
    {
        ++contentReads;
        return value;
    }
    void replace(Content next)
    {
        content = std::move(next);
        ++count;
    }
};

}  // namespace meridavolt::fakes
