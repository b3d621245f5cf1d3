#include "ReleaseCatalogue.h"
#include "fakes/FakeDistributionDesktop.h"
#include "fakes/FakeDistributionHTTP.h"
#include "fakes/TemporaryFolder.h"
#include "update/MacDistribution.h"
#include "update/ReleaseDigest.h"

#include <gtest/gtest.h>

#include <iostream>

namespace meridavolt {
namespace {

using Reason = FetchFailure::Reason;

const std::string image = "disk image bytes \x00\x01\x02 end";

class UpdateChecker : public ::testing::Test {
protected:
    std::unique_ptr<MacDistribution> makeChecker(std::int64_t runningBuild,
                                                 std::optional<DistributionConfig> config)
    {
        return std::make_unique<MacDistribution>(std::move(config), runningBuild,
                                                 MacDistribution::Services{http, panel, viewer});
    }
    std::optional<DistributionConfig> validConfig() { return DistributionConfig::load(signer.configuration()); }

    FriendRelease releaseOf(std::int64_t build, const std::string& bytes = image)
    {
        return FriendRelease("2.1.0", build, fakes::releaseURL("MERIDAVOLT-2.1.0.dmg"), sha256Hex(bytes));
    }

    // Runs a check that the server answers with this release.
    void checkAnswering(const FriendRelease& release)
    {
        checker->checkUpdate();
        http->respondLast(200, signer.manifest(release.encode()));
    }

    void expectFailedCheck()
    {
        EXPECT_EQ(checker->updateMessage(), updateMessages::checkFailed);
        EXPECT_FALSE(checker->release().has_value());
        EXPECT_FALSE(checker->updateBusy());
        EXPECT_TRUE(checker->canStartOperation());
    }

    // Offers build 42 and confirms the save panel with `destination`.
    void startDownloadTo(const std::filesystem::path& destination, const std::string& bytes = image)
    {
        checkAnswering(releaseOf(42, bytes));
        ASSERT_TRUE(checker->release().has_value());
        checker->downloadUpdate();
        ASSERT_TRUE(panel->isOpen());
        panel->choose(destination);
    }

    void expectFailedDownload(const std::filesystem::path& destination)
    {
        EXPECT_EQ(checker->updateMessage(), updateMessages::downloadFailed);
        EXPECT_FALSE(std::filesystem::exists(destination));
        EXPECT_TRUE(viewer->revealed.empty());
        EXPECT_TRUE(checker->release().has_value());
        EXPECT_FALSE(checker->updateBusy());
    }

    fakes::ReleaseSigner signer;
    fakes::TemporaryFolder folder;
    std::shared_ptr<fakes::FakeDistributionHTTP> http = std::make_shared<fakes::FakeDistributionHTTP>();
    std::shared_ptr<fakes::FakeDistributionSavePanel> panel = std::make_shared<fakes::FakeDistributionSavePanel>();
    std::shared_ptr<fakes::FakeDistributionFileViewer> viewer = std::make_shared<fakes::FakeDistributionFileViewer>();
    std::unique_ptr<MacDistribution> checker = makeChecker(41, validConfig());
};

// --- checking -------------------------------------------------------------------------------

TEST_F(UpdateChecker, StartsReadyWithoutRequesting)
{
    EXPECT_EQ(checker->updateMessage(), "更新を確認できます");
    EXPECT_FALSE(checker->release().has_value());
    EXPECT_FALSE(checker->updateBusy());
    EXPECT_FALSE(checker->showingUpdates());
    EXPECT_TRUE(checker->canStartOperation());
    EXPECT_TRUE(http->requests.empty());
}

TEST_F(UpdateChecker, WithoutAConfigurationEveryCheckReportsIt)
{
    checker = makeChecker(41, std::nullopt);
    for (int attempt = 0; attempt < 2; ++attempt) {
        EXPECT_EQ(checker->checkUpdate(), 0u);
        EXPECT_EQ(checker->updateMessage(), "更新の配布設定が未完了です");
        EXPECT_FALSE(checker->updateBusy());
        EXPECT_TRUE(checker->canStartOperation());
    }
    EXPECT_TRUE(http->requests.empty());
}

TEST_F(UpdateChecker, ChecksTheFeedWithTheManifestLimitAndShowsItIsBusy)
{
    std::vector<std::pair<bool, bool>> busyAndOffered;
    auto observer = checker->changed.connect(
        [&] { busyAndOffered.emplace_back(checker->updateBusy(), checker->release().has_value()); });

    EXPECT_NE(checker->checkUpdate(), 0u);
    ASSERT_EQ(http->requests.size(), 1u);
    EXPECT_EQ(http->requests[0].address, std::string(releaseFeedAddress));
    EXPECT_EQ(http->requests[0].limit, 64'000u);
    EXPECT_TRUE(checker->updateBusy());
    EXPECT_FALSE(checker->canStartOperation());
    EXPECT_EQ(checker->updateMessage(), "更新を確認できます");  // kept while the check runs
    ASSERT_FALSE(busyAndOffered.empty());
    EXPECT_EQ(busyAndOffered.back(), std::make_pair(true, false));
}

TEST_F(UpdateChecker, OffersANewerBuildWithItsVersion)
{
    checkAnswering(releaseOf(42));
    ASSERT_TRUE(checker->release().has_value());
    EXPECT_EQ(checker->release()->build, 42);
    EXPECT_EQ(checker->updateMessage(), "バージョン 2.1.0 に更新できます");
    EXPECT_FALSE(checker->updateBusy());
}

TEST_F(UpdateChecker, TheSameOrAnOlderBuildIsUpToDate)
{
    for (std::int64_t build : {41, 40, 1}) {
        SCOPED_TRACE(build);
        checkAnswering(releaseOf(build));
        EXPECT_EQ(checker->updateMessage(), "最新バージョンです");
        EXPECT_FALSE(checker->release().has_value());
    }
}

TEST_F(UpdateChecker, ARunningBuildOfZeroIsOfferedEveryValidRelease)
{
    checker = makeChecker(0, validConfig());
    checkAnswering(releaseOf(1));
    EXPECT_TRUE(checker->release().has_value());
}

TEST_F(UpdateChecker, ANewCheckWithdrawsTheOfferAtOnce)
{
    checkAnswering(releaseOf(42));
    ASSERT_TRUE(checker->release().has_value());
    checker->checkUpdate();
    EXPECT_FALSE(checker->release().has_value());
    http->respondLast(404, "");
    EXPECT_FALSE(checker->release().has_value());
}

TEST_F(UpdateChecker, EveryRejectedAnswerEndsWithTheCheckFailureText)
{
    std::vector<catalogue::Sample> manifests = catalogue::badEnvelopes(signer);
    for (const auto& sample : catalogue::invalidReleases()) manifests.push_back({sample.name, signer.manifest(sample.bytes)});
    for (const auto& sample : catalogue::undecodableReleases()) manifests.push_back({sample.name, signer.manifest(sample.bytes)});

    int rejected = 0;
    for (const auto& sample : manifests) {
        SCOPED_TRACE(sample.name);
        checkAnswering(releaseOf(42));  // an offer stands before each bad answer
        checker->checkUpdate();
        http->respondLast(200, sample.bytes);
        expectFailedCheck();
        rejected += checker->updateMessage() == updateMessages::checkFailed ? 1 : 0;
    }
    const auto good = signer.manifest(releaseOf(42).encode());
    const std::vector<FetchResult> answers = {
        HTTPResponse{302, good}, HTTPResponse{404, good}, HTTPResponse{500, good}, HTTPResponse{204, good},
        HTTPResponse{201, good}, FetchFailure{Reason::invalidRelease, "limit"}, FetchFailure{Reason::transport, "refused"},
        FetchFailure{Reason::timedOut, "idle"}, FetchFailure{Reason::cancelled, "cancelled"},
    };
    for (const auto& answer : answers) {
        checker->checkUpdate();
        http->answerLast(answer);
        expectFailedCheck();
    }
    EXPECT_EQ(rejected, static_cast<int>(manifests.size()));
    std::cout << "[ manifests ] " << manifests.size() << " malformed manifests fed, " << manifests.size() - rejected
              << " accepted\n";
}

TEST_F(UpdateChecker, ASecondCheckWhileOneRunsDoesNothing)
{
    checker->checkUpdate();
    EXPECT_EQ(checker->checkUpdate(), 0u);
    EXPECT_EQ(http->requests.size(), 1u);
}

TEST_F(UpdateChecker, CancellingACheckEndsItAsAFailedCheck)
{
    const auto check = checker->checkUpdate();
    checker->cancelCheck(check);
    EXPECT_TRUE(http->requests[0].cancelled);
    http->answerLast(FetchFailure{Reason::cancelled, "cancelled"});
    expectFailedCheck();
}

TEST_F(UpdateChecker, CancellingAFinishedCheckLeavesTheNextOneRunning)
{
    const auto first = checker->checkUpdate();
    http->respondLast(404, "");
    checker->checkUpdate();
    checker->cancelCheck(first);
    EXPECT_FALSE(http->requests[1].cancelled);
    EXPECT_TRUE(checker->updateBusy());
}

TEST_F(UpdateChecker, AnAnswerArrivingAfterTheCheckerIsGoneIsDropped)
{
    checker->checkUpdate();
    checker.reset();
    EXPECT_TRUE(http->requests[0].cancelled);
    http->respondLast(200, signer.manifest(releaseOf(42).encode()));  // must not touch the freed checker
}

// --- downloading ----------------------------------------------------------------------------

TEST_F(UpdateChecker, TheSavePanelSuggestsTheVersionedNameAndBlocksBothOperations)
{
    checkAnswering(releaseOf(42));
    checker->downloadUpdate();
    ASSERT_EQ(panel->suggestedNames, std::vector<std::string>{"MERIDAVOLT-2.1.0.dmg"});
    EXPECT_TRUE(checker->savePanelOpen());
    EXPECT_FALSE(checker->canStartOperation());
    EXPECT_FALSE(checker->updateBusy());
    EXPECT_EQ(checker->updateMessage(), "バージョン 2.1.0 に更新できます");

    EXPECT_EQ(checker->checkUpdate(), 0u);
    checker->downloadUpdate();
    EXPECT_EQ(http->requests.size(), 1u);
    EXPECT_EQ(panel->suggestedNames.size(), 1u);
    EXPECT_TRUE(checker->release().has_value());
}

TEST_F(UpdateChecker, CancellingTheSavePanelChangesNothing)
{
    checkAnswering(releaseOf(42));
    checker->downloadUpdate();
    panel->choose(std::nullopt);
    EXPECT_EQ(checker->updateMessage(), "バージョン 2.1.0 に更新できます");
    EXPECT_TRUE(checker->release().has_value());
    EXPECT_TRUE(checker->canStartOperation());
    EXPECT_EQ(http->requests.size(), 1u);
}

TEST_F(UpdateChecker, WithoutAnOfferThereIsNothingToSave)
{
    checker->downloadUpdate();
    EXPECT_TRUE(panel->suggestedNames.empty());
}

TEST_F(UpdateChecker, SavesTheVerifiedImageAndShowsIt)
{
    const auto destination = folder / "Downloads" / "MERIDAVOLT-2.1.0.dmg";
    startDownloadTo(destination);
    EXPECT_TRUE(checker->updateBusy());
    EXPECT_EQ(checker->updateMessage(), "更新をダウンロードしています…");
    ASSERT_EQ(http->requests.size(), 2u);
    EXPECT_EQ(http->requests[1].address, fakes::releaseURL("MERIDAVOLT-2.1.0.dmg"));
    EXPECT_EQ(http->requests[1].limit, 209'715'200u);
    EXPECT_FALSE(std::filesystem::exists(destination));

    http->respondLast(200, image);
    EXPECT_EQ(fakes::readBytes(destination), image);
    EXPECT_EQ(checker->updateMessage(),
              "確認済みの更新を保存しました。アプリを終了し、DMG内のアプリで置き換えてください。");
    EXPECT_EQ(viewer->revealed, std::vector<std::filesystem::path>{destination});
    EXPECT_TRUE(checker->release().has_value());  // the user may save again
    EXPECT_FALSE(checker->updateBusy());
    EXPECT_TRUE(checker->canStartOperation());
}

TEST_F(UpdateChecker, ReplacesAFileAlreadyAtTheChosenPlace)
{
    const auto destination = folder / "MERIDAVOLT-2.1.0.dmg";
    fakes::writeBytes(destination, "an older image that is longer than the new one");
    startDownloadTo(destination);
    http->respondLast(200, image);
    EXPECT_EQ(fakes::readBytes(destination), image);
}

TEST_F(UpdateChecker, AnImageWithAnotherDigestIsNeverWritten)
{
    const auto destination = folder / "MERIDAVOLT-2.1.0.dmg";
    startDownloadTo(destination);
    std::string tampered = image;
    tampered[0] ^= 0x20;
    http->respondLast(200, tampered);
    expectFailedDownload(destination);
}

TEST_F(UpdateChecker, EveryFailedDownloadSavesNothing)
{
    const std::vector<FetchResult> answers = {
        HTTPResponse{404, image}, HTTPResponse{302, image}, HTTPResponse{500, image}, HTTPResponse{206, image},
        FetchFailure{Reason::invalidRelease, "over 200 MiB"}, FetchFailure{Reason::transport, "reset"},
        FetchFailure{Reason::timedOut, "idle"}, FetchFailure{Reason::cancelled, "cancelled"},
    };
    for (std::size_t index = 0; index < answers.size(); ++index) {
        SCOPED_TRACE(index);
        const auto destination = folder / ("image-" + std::to_string(index) + ".dmg");
        startDownloadTo(destination);
        http->answerLast(answers[index]);
        expectFailedDownload(destination);
    }
}

TEST_F(UpdateChecker, AFailedWriteIsAFailedDownload)
{
    fakes::writeBytes(folder / "occupied", "a file where a folder should be");
    const auto destination = folder / "occupied" / "MERIDAVOLT-2.1.0.dmg";
    startDownloadTo(destination);
    http->respondLast(200, image);
    EXPECT_EQ(checker->updateMessage(), updateMessages::downloadFailed);
    EXPECT_TRUE(viewer->revealed.empty());
    EXPECT_FALSE(checker->updateBusy());
}

TEST_F(UpdateChecker, ACheckCannotInterruptADownload)
{
    startDownloadTo(folder / "a.dmg");
    EXPECT_EQ(checker->checkUpdate(), 0u);
    checker->downloadUpdate();
    EXPECT_EQ(http->requests.size(), 2u);
    EXPECT_EQ(checker->updateMessage(), "更新をダウンロードしています…");
    EXPECT_TRUE(checker->release().has_value());
}

TEST_F(UpdateChecker, ADownloadCannotStartDuringACheck)
{
    checkAnswering(releaseOf(42));
    checker->checkUpdate();
    checker->downloadUpdate();
    EXPECT_TRUE(panel->suggestedNames.empty());
}

TEST_F(UpdateChecker, AnAnswerArrivingAfterTheCheckerIsGoneWritesNothing)
{
    const auto destination = folder / "late.dmg";
    startDownloadTo(destination);
    checker.reset();
    http->respondLast(200, image);
    EXPECT_FALSE(std::filesystem::exists(destination));
}

// --- the suggested name -------------------------------------------------------------------

TEST(SuggestedDiskImageName, KeepsAPlainVersionUnchanged)
{
    EXPECT_EQ(suggestedDiskImageName("2.1.0"), "MERIDAVOLT-2.1.0.dmg");
    EXPECT_EQ(suggestedDiskImageName("春 2.1 (β)"), "MERIDAVOLT-春 2.1 (β).dmg");
}

TEST(SuggestedDiskImageName, ReplacesSlashesAndControlCharacters)
{
    EXPECT_EQ(suggestedDiskImageName("2.1/../../.ssh/x"), "MERIDAVOLT-2.1_.._.._.ssh_x.dmg");
    EXPECT_EQ(suggestedDiskImageName("2.1\n\t\r"), "MERIDAVOLT-2.1___.dmg");
    EXPECT_EQ(suggestedDiskImageName(std::string("2\0" "1", 3)), "MERIDAVOLT-2_1.dmg");
    EXPECT_EQ(suggestedDiskImageName("2\x7F" "1\u0085" "9"), "MERIDAVOLT-2_1_9.dmg");
}

}  // namespace
}  // namespace meridavolt
