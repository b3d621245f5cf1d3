#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace meridavolt {

// An address on the release server that passed every rule: https, exactly
// releaseHost, no user, password or port, a path under "/meridavolt/", no
// query or fragment. The text is kept so that the transport fetches exactly
// the address that was checked, and the rules refuse whatever a URL library
// could later read differently: "?" or "#" anywhere, dot segments (plain or
// percent-encoded), encoded slashes, and characters outside RFC 3986.
class ReleaseAddress {
public:
    enum class Rule {
        scheme,
        host,
        user,
        password,
        port,
        pathPrefix,
        query,
        fragment,
        dotSegment,
        character,
    };

    // The first rule the text breaks, or nothing when it is a release address.
    static std::optional<Rule> brokenRule(std::string_view text);
    static std::optional<ReleaseAddress> parse(std::string_view text);

    const std::string& text() const { return text_; }
    // Everything after the host: the path, beginning with "/meridavolt/".
    const std::string& path() const { return path_; }

private:
    ReleaseAddress(std::string text, std::string path) : text_(std::move(text)), path_(std::move(path)) {}

    std::string text_;
    std::string path_;
};

}  // namespace meridavolt
