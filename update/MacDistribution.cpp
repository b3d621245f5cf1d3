#include "update/MacDistribution.h"

#include "platform/Files.h"
#include "update/DistributionConstants.h"
#include "update/DistributionError.h"
#include "update/ReleaseDigest.h"
#include "update/SignedDistributionEnvelope.h"

#include <glib.h>

namespace meridavolt {

namespace {

constexpr long acceptedStatus = 200;

// The body of an answer the update flow accepts; throws for anything else.
std::string acceptedBody(FetchResult result)
{
    auto* response = std::get_if<HTTPResponse>(&result);
    if (!response || response->statusCode != acceptedStatus) throw DistributionError(DistributionError::invalidRelease);
    return std::move(response->body);
}

}  // namespace

std::string updateMessages::offer(const std::string& version)
{
    return "バージョン " + version + " に更新できます";
}

std::string suggestedDiskImageName(const std::string& version)
{
    std::string name = "MERIDAVOLT-";
    for (const char* cursor = version.c_str(); cursor < version.c_str() + version.size();) {
        const gunichar character = g_utf8_get_char_validated(cursor, static_cast<gssize>(version.c_str() + version.size() - cursor));
        const bool decodable = character != static_cast<gunichar>(-1) && character != static_cast<gunichar>(-2);
        const char* next = decodable ? g_utf8_next_char(cursor) : cursor + 1;
        // A NUL byte inside the text decodes as U+0000, a control character like the rest.
        if (!decodable || character == '/' || g_unichar_iscntrl(character)) {
            name += '_';
        } else {
            name.append(cursor, next);
        }
        cursor = next;
    }
    return name + ".dmg";
}

MacDistribution::MacDistribution(std::optional<DistributionConfig> config, std::int64_t runningBuild, Services services)
    : config_(std::move(config)), runningBuild_(runningBuild), services_(std::move(services))
{
}

MacDistribution::~MacDistribution()
{
    if (fetchTask_) fetchTask_->cancel();
}

void MacDistribution::setShowingUpdates(bool showing)
{
    if (showingUpdates_ == showing) return;
    showingUpdates_ = showing;
    changed.emit();
}

MacDistribution::OperationID MacDistribution::checkUpdate()
{
    if (!canStartOperation()) return 0;
    if (!config_) {
        updateMessage_ = updateMessages::notConfigured;
        changed.emit();
        return 0;
    }
    updateBusy_ = true;
    release_.reset();
    const OperationID check = ++lastCheck_;
    runningCheck_ = check;
    changed.emit();

    auto feed = ReleaseAddress::parse(config_->updateFeedURL);
    if (!feed) {
        finishCheck(check, FetchFailure{FetchFailure::Reason::invalidRelease, "feed address"});
        return check;
    }
    fetchTask_ = services_.http->fetch(*feed, manifestByteLimit, [this, alive = std::weak_ptr<bool>(alive_), check](FetchResult result) {
        if (!alive.expired()) finishCheck(check, std::move(result));
    });
    return check;
}

void MacDistribution::cancelCheck(OperationID check)
{
    if (check != 0 && check == runningCheck_ && fetchTask_) fetchTask_->cancel();
}

void MacDistribution::finishCheck(OperationID check, FetchResult result)
{
    fetchTask_.reset();
    if (check != runningCheck_) return;
    runningCheck_ = 0;
    try {
        const auto envelope = SignedDistributionEnvelope::decode(acceptedBody(std::move(result)));
        auto release = envelope.verified<FriendRelease>(config_->publicKey);
        release.validate();
        if (release.build > runningBuild_) {
            updateMessage_ = updateMessages::offer(release.version);
            release_ = std::move(release);
        } else {
            updateMessage_ = updateMessages::upToDate;
        }
    } catch (const std::exception&) {
        updateMessage_ = updateMessages::checkFailed;
    }
    updateBusy_ = false;
    changed.emit();
}

void MacDistribution::downloadUpdate()
{
    if (!release_ || !canStartOperation()) return;
    // The download works with this value whatever happens to release_ meanwhile.
    const FriendRelease release = *release_;
    savePanelOpen_ = true;
    changed.emit();
    services_.savePanel->chooseSaveLocation(
        suggestedDiskImageName(release.version),
        [this, alive = std::weak_ptr<bool>(alive_), release](std::optional<std::filesystem::path> destination) {
            if (alive.expired()) return;
            savePanelOpen_ = false;
            if (!destination) {
                changed.emit();
                return;
            }
            startDownload(release, *destination);
        });
}

void MacDistribution::startDownload(const FriendRelease& release, const std::filesystem::path& destination)
{
    updateBusy_ = true;
    updateMessage_ = updateMessages::downloading;
    changed.emit();

    auto address = ReleaseAddress::parse(release.downloadURL);
    if (!address) {
        finishDownload(release, destination, FetchFailure{FetchFailure::Reason::invalidRelease, "download address"});
        return;
    }
    fetchTask_ = services_.http->fetch(
        *address, diskImageByteLimit,
        [this, alive = std::weak_ptr<bool>(alive_), release, destination](FetchResult result) {
            if (!alive.expired()) finishDownload(release, destination, std::move(result));
        });
}

void MacDistribution::finishDownload(const FriendRelease& release, const std::filesystem::path& destination,
                                     FetchResult result)
{
    fetchTask_.reset();
    bool saved = false;
    try {
        const std::string image = acceptedBody(std::move(result));
        if (sha256Hex(image) != release.sha256) throw DistributionError(DistributionError::invalidRelease);
        writeFileAtomically(destination, image);
        saved = true;
    } catch (const std::exception&) {
        updateMessage_ = updateMessages::downloadFailed;
    }
    if (saved) {
        updateMessage_ = updateMessages::saved;
        services_.fileViewer->revealFile(destination);
    }
    updateBusy_ = false;
    changed.emit();
}

}  // namespace meridavolt
