#include "update/FriendRelease.h"

#include "platform/Text.h"
#include "update/DistributionConstants.h"
#include "update/DistributionError.h"
#include "update/JSONFields.h"
#include "update/ReleaseAddress.h"

#include <algorithm>

namespace meridavolt {

namespace {

constexpr std::size_t maximumVersionLength = 40;
constexpr std::size_t digestLength = 64;

bool isLowercaseHexDigest(const std::string& text)
{
    return text.size() == digestLength && std::all_of(text.begin(), text.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
           });
}

}  // namespace

FriendRelease::FriendRelease(std::string version, std::int64_t build, std::string downloadURL, std::string sha256)
    : purpose(releasePurpose),
      product(releaseProduct),
      version(std::move(version)),
      build(build),
      downloadURL(std::move(downloadURL)),
      sha256(std::move(sha256))
{
}

void FriendRelease::validate() const
{
    const bool valid = purpose == releasePurpose && product == releaseProduct && build >= 1 && !version.empty() &&
                       characterCount(version) <= maximumVersionLength && isLowercaseHexDigest(sha256) &&
                       !ReleaseAddress::brokenRule(downloadURL);
    if (!valid) throw DistributionError(DistributionError::invalidRelease);
}

FriendRelease FriendRelease::decode(std::string_view json)
{
    const auto object = jsonFields::parseObject(json);
    FriendRelease release;
    release.purpose = jsonFields::requiredString(object, "purpose");
    release.product = jsonFields::requiredString(object, "product");
    release.version = jsonFields::requiredString(object, "version");
    release.build = jsonFields::requiredInt64(object, "build");
    release.downloadURL = jsonFields::requiredString(object, "downloadURL");
    release.sha256 = jsonFields::requiredString(object, "sha256");
    return release;
}

std::string FriendRelease::encode() const
{
    nlohmann::ordered_json object;
    object["purpose"] = purpose;
    object["product"] = product;
    object["version"] = version;
    object["build"] = build;
    object["downloadURL"] = downloadURL;
    object["sha256"] = sha256;
    return object.dump();
}

}  // namespace meridavolt
