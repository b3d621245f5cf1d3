#include "update/ReleaseAddress.h"

#include "update/DistributionConstants.h"

#include <algorithm>
#include <cctype>

namespace meridavolt {

namespace {

constexpr std::string_view pathPrefix = "/meridavolt/";

bool isSchemeCharacter(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.';
}

// RFC 3986 path characters: unreserved, sub-delims, ":", "@" and "/".
// "%" is checked separately, with its two hexadecimal digits.
bool isPathCharacter(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || std::string_view("-._~!$&'()*+,;=:@/").find(c) != std::string_view::npos;
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The segment as a server would read it, or nothing for a malformed escape.
std::optional<std::string> percentDecoded(std::string_view segment)
{
    std::string decoded;
    for (std::size_t index = 0; index < segment.size(); ++index) {
        if (segment[index] != '%') {
            decoded += segment[index];
            continue;
        }
        if (index + 2 >= segment.size()) return std::nullopt;
        const int high = hexValue(segment[index + 1]);
        const int low = hexValue(segment[index + 2]);
        if (high < 0 || low < 0) return std::nullopt;
        decoded += static_cast<char>(high * 16 + low);
        index += 2;
    }
    return decoded;
}

// Dot segments are resolved away by URL libraries and servers, so "/meridavolt/../x"
// would fetch "/x"; an encoded slash or backslash can split a segment on the server.
bool hasDotSegmentOrHiddenSeparator(std::string_view path)
{
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string_view::npos) end = path.size();
        auto segment = percentDecoded(path.substr(start, end - start));
        if (!segment) return true;
        if (*segment == "." || *segment == "..") return true;
        if (segment->find_first_of("/\\") != std::string::npos) return true;
        start = end + 1;
    }
    return false;
}

bool hasOnlyURLCharacters(std::string_view path)
{
    for (std::size_t index = 0; index < path.size(); ++index) {
        const char c = path[index];
        if (c == '%') {
            if (index + 2 >= path.size() || hexValue(path[index + 1]) < 0 || hexValue(path[index + 2]) < 0) return false;
            index += 2;
        } else if (!isPathCharacter(c)) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::optional<ReleaseAddress::Rule> ReleaseAddress::brokenRule(std::string_view text)
{
    // Scheme: a letter, then letters, digits, "+", "-" or ".", up to the first ":".
    const std::size_t colon = text.find(':');
    const bool hasScheme = colon != std::string_view::npos && colon > 0 &&
                           std::isalpha(static_cast<unsigned char>(text[0])) &&
                           std::all_of(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(colon), isSchemeCharacter);
    if (!hasScheme || text.substr(0, colon) != "https") return Rule::scheme;

    std::string_view rest = text.substr(colon + 1);
    if (!rest.starts_with("//")) return Rule::host;
    rest.remove_prefix(2);

    const std::size_t authorityEnd = std::min(rest.find_first_of("/?#"), rest.size());
    const std::string_view authority = rest.substr(0, authorityEnd);
    const std::string_view afterAuthority = rest.substr(authorityEnd);

    std::string_view userInfo;
    bool hasUserInfo = false;
    std::string_view hostAndPort = authority;
    if (const std::size_t at = authority.rfind('@'); at != std::string_view::npos) {
        hasUserInfo = true;
        userInfo = authority.substr(0, at);
        hostAndPort = authority.substr(at + 1);
    }
    std::string_view host = hostAndPort;
    bool hasPort = false;
    if (hostAndPort.starts_with('[')) {
        const std::size_t close = hostAndPort.find(']');
        host = hostAndPort.substr(0, close == std::string_view::npos ? hostAndPort.size() : close + 1);
        hasPort = host.size() < hostAndPort.size();
    } else if (const std::size_t portColon = hostAndPort.find(':'); portColon != std::string_view::npos) {
        host = hostAndPort.substr(0, portColon);
        hasPort = true;
    }
    if (host != releaseHost) return Rule::host;
    // "user@", "user:secret@" and a bare "@" name a user; ":secret@" only a password.
    if (hasUserInfo && !userInfo.starts_with(':')) return Rule::user;
    if (hasUserInfo) return Rule::password;
    // Even ":" with no number, or 443, is an explicit port.
    if (hasPort) return Rule::port;

    const std::size_t pathEnd = std::min(afterAuthority.find_first_of("?#"), afterAuthority.size());
    const std::string_view path = afterAuthority.substr(0, pathEnd);
    if (!path.starts_with(pathPrefix)) return Rule::pathPrefix;
    // Even an empty query or fragment counts: URL libraries drop them silently.
    if (text.find('?') != std::string_view::npos) return Rule::query;
    if (text.find('#') != std::string_view::npos) return Rule::fragment;
    if (!hasOnlyURLCharacters(path)) return Rule::character;
    if (hasDotSegmentOrHiddenSeparator(path)) return Rule::dotSegment;
    return std::nullopt;
}

std::optional<ReleaseAddress> ReleaseAddress::parse(std::string_view text)
{
    if (brokenRule(text)) return std::nullopt;
    const std::size_t pathStart = text.find('/', std::string_view("https://").size());
    return ReleaseAddress(std::string(text), std::string(text.substr(pathStart)));
}

}  // namespace meridavolt
