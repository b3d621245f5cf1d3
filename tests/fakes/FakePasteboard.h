#pragma once

#include "clipboard/Pasteboard.h"

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
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
        if (slowOwner) return waiting.push_back(std::move(ready));
        ready();
    }
    std::vector<std::string> types() const override { return offered().types; }
    std::optional<SharedBytes> pngData() const override { return note(offered().png); }
    std::optional<SharedBytes> tiffData() const override { return note(offered().tiff); }
    std::optional<std::string> string() const override { return note(offered().string); }
    std::optional<std::string> url() const override { return note(offered().url); }

    void writeString(const std::string& text) override
    {
        replace(Content{{"text/plain;charset=utf-8"}, {}, {}, text, {}});
        ++writes;
        abandonFetches();
    }
    void writePNG(const SharedBytes& png) override
    {
        replace(Content{{"image/png"}, png, {}, {}, {}});
        ++writes;
        abandonFetches();
    }

    // The slow owner answers at last, with the newest content.
    void answerFetches()
    {
        for (auto& ready : std::exchange(waiting, {})) ready();
    }

    // Another application copies something.
    void offer(Content next) { replace(std::move(next)); }
    void offerString(const std::string& text, std::vector<std::string> extraTypes = {})
    {
        extraTypes.push_back("text/plain;charset=utf-8");
        replace(Content{std::move(extraTypes), {}, {}, text, {}});
    }

    Content content;
    // Fetches wait for answerFetches(), as with an owner slow to answer.
    bool slowOwner = false;
    std::vector<std::function<void()>> waiting;
    std::int64_t count = 1;
    int writes = 0;
    int fetches = 0;
    mutable int contentReads = 0;  // reads of data or strings, not of types or the count

private:
    const Content& offered() const
    {
        static const Content nothing;
        return abandoning_ ? nothing : content;
    }
    void abandonFetches()
    {
        abandoning_ = true;
        answerFetches();
        abandoning_ = false;
    }

    bool abandoning_ = false;

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
