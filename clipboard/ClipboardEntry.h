#pragma once

#include "clipboard/SharedBytes.h"
#include "platform/Date.h"

#include <nlohmann/json_fwd.hpp>
#include <optional>
#include <string>

namespace meridavolt {

// One remembered text, link or image with the time it was captured.
struct ClipboardEntry {
    // The text every image entry carries in place of its content.
    static constexpr const char* imageText = "画像・スクリーンショット";

    std::string id;  // upper-case UUID; pinning, moving and deleting work by it
    std::string text;  // exactly as captured, not trimmed
    Date capturedAt;
    std::optional<SharedBytes> imageData;  // full-size PNG of an image entry
    std::optional<SharedBytes> thumbnailData;  // PNG thumbnail of an image entry

    bool isImage() const { return imageData.has_value(); }

    // The trimmed text when it is an http or https address with a host;
    // nothing for images and other texts. The views show such entries as links.
    std::optional<std::string> webURL() const;

    // Texts compare under Unicode canonical equivalence.
    friend bool operator==(const ClipboardEntry& a, const ClipboardEntry& b);

    // The pins file's form: {"id","text","capturedAt"[,"imageData","thumbnailData"]},
    // bytes as base64. fromJSON throws std::invalid_argument on anything else.
    nlohmann::json toJSON() const;
    static ClipboardEntry fromJSON(const nlohmann::json& object);
};

// True when two texts are equal under Unicode canonical equivalence.
bool canonicallyEqual(std::string_view a, std::string_view b);

}  // namespace meridavolt
