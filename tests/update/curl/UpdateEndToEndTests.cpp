#include "ReleaseServerFixture.h"
#include "fakes/FakeDistributionDesktop.h"
#include "update/MacDistribution.h"
#include "update/ReleaseDigest.h"

namespace meridavolt::testing {
namespace {

const std::string image = std::string(300'000, '\x5A') + "MERIDAVOLT 2.1.0 disk image";
const std::string manifestPath = "/meridavolt/releases.json";
const std::string imagePath = "/meridavolt/MERIDAVOLT-2.1.0.dmg";

// The whole update flow against the release server: the real fetcher over TLS,
// the save panel and the file manager replaced by fakes.
class UpdateOverTLS : public ReleaseServerFixture {
protected:
    FriendRelease release() const
    {
        return FriendRelease("2.1.0", 42, fakes::releaseURL("MERIDAVOLT-2.1.0.dmg"), sha256Hex(image));
    }

    void publish(const std::string& manifest)
    {
        server.serve(manifestPath, {.body = manifest});
        server.serve(imagePath, {.body = image, .framing = TlsResponse::Framing::chunked});
    }

    void check()
    {
        ASSERT_NE(checker.checkUpdate(), 0u);
        ASSERT_TRUE(waitUntil([&] { return !checker.updateBusy(); }));
    }

    void download(const std::filesystem::path& destination)
    {
        checker.downloadUpdate();
        ASSERT_TRUE(panel->isOpen());
        panel->choose(destination);
        ASSERT_TRUE(waitUntil([&] { return !checker.updateBusy(); }));
    }

    fakes::ReleaseSigner signer;
    std::shared_ptr<fakes::FakeDistributionSavePanel> panel = std::make_shared<fakes::FakeDistributionSavePanel>();
    std::shared_ptr<fakes::FakeDistributionFileViewer> viewer = std::make_shared<fakes::FakeDistributionFileViewer>();
    MacDistribution checker{DistributionConfig::load(signer.configuration()), 41,
                            MacDistribution::Services{makeHTTP(), panel, viewer}};
};

TEST_F(UpdateOverTLS, AValidUpdateIsOfferedAndSavedWithTheRightBytes)
{
    publish(signer.manifest(release().encode()));
    check();
    EXPECT_EQ(checker.updateMessage(), "バージョン 2.1.0 に更新できます");
    ASSERT_TRUE(checker.release().has_value());

    const auto destination = folder / "Downloads" / "MERIDAVOLT-2.1.0.dmg";
    download(destination);
    EXPECT_EQ(checker.updateMessage(), updateMessages::saved);
    EXPECT_EQ(fakes::readBytes(destination), image);
    EXPECT_EQ(viewer->revealed, std::vector<std::filesystem::path>{destination});
}

TEST_F(UpdateOverTLS, AManifestChangedInTransitIsRefused)
{
    auto manifest = signer.manifest(release().encode());
    // Re-sign nothing: swap the build number inside the signed payload.
    auto envelope = SignedDistributionEnvelope::decode(manifest);
    envelope.payload.replace(envelope.payload.find("42"), 2, "99");
    publish(envelope.encode());
    check();
    EXPECT_EQ(checker.updateMessage(), updateMessages::checkFailed);
    EXPECT_FALSE(checker.release().has_value());
}

TEST_F(UpdateOverTLS, AManifestSignedByAnotherKeyIsRefused)
{
    publish(fakes::ReleaseSigner().manifest(release().encode()));
    check();
    EXPECT_EQ(checker.updateMessage(), updateMessages::checkFailed);
    EXPECT_FALSE(checker.release().has_value());
}

TEST_F(UpdateOverTLS, AnImageChangedInTransitIsNeverSaved)
{
    publish(signer.manifest(release().encode()));
    std::string tampered = image;
    tampered[tampered.size() / 2] ^= 0x01;
    server.serve(imagePath, {.body = tampered});
    check();
    const auto destination = folder / "MERIDAVOLT-2.1.0.dmg";
    download(destination);
    EXPECT_EQ(checker.updateMessage(), updateMessages::downloadFailed);
    EXPECT_FALSE(std::filesystem::exists(destination));
    EXPECT_TRUE(viewer->revealed.empty());
}

TEST_F(UpdateOverTLS, ARedirectedManifestIsAFailedCheckAndItsTargetIsNeverAsked)
{
    server.serve(manifestPath, {.status = 302, .headers = {{"Location", fakes::releaseURL("moved.json")}}});
    server.serve("/meridavolt/moved.json", {.body = signer.manifest(release().encode())});
    check();
    EXPECT_EQ(checker.updateMessage(), updateMessages::checkFailed);
    EXPECT_EQ(server.requestCount("/meridavolt/moved.json"), 0);
}

TEST_F(UpdateOverTLS, AMissingManifestIsAFailedCheck)
{
    check();
    EXPECT_EQ(server.requestCount(manifestPath), 1);
    EXPECT_EQ(checker.updateMessage(), updateMessages::checkFailed);
}

TEST_F(UpdateOverTLS, AManifestOfExactlyTheLimitIsReadAndOneByteMoreIsNot)
{
    const auto manifest = signer.manifest(release().encode());
    const auto padded = [&](std::size_t size) { return manifest + std::string(size - manifest.size(), ' '); };

    publish(padded(64'000));
    check();
    EXPECT_TRUE(checker.release().has_value());

    for (auto framing : {TlsResponse::Framing::contentLength, TlsResponse::Framing::chunked}) {
        server.serve(manifestPath, {.body = padded(64'001), .framing = framing});
        check();
        EXPECT_EQ(checker.updateMessage(), updateMessages::checkFailed);
        EXPECT_FALSE(checker.release().has_value());
    }
}

TEST_F(UpdateOverTLS, ClosingTheSheetCancelsItsCheck)
{
    server.serve(manifestPath, {.stallBeforeHead = true});
    MacDistribution patient{DistributionConfig::load(signer.configuration()), 41,
                            MacDistribution::Services{makeHTTP({std::chrono::seconds(5), std::chrono::seconds(30),
                                                                std::chrono::seconds(60)}),
                                                      panel, viewer}};
    const auto sheetCheck = patient.checkUpdate();
    ASSERT_TRUE(waitUntil([&] { return server.requestCount(manifestPath) == 1; }));
    patient.cancelCheck(sheetCheck);
    ASSERT_TRUE(waitUntil([&] { return !patient.updateBusy(); }, std::chrono::seconds(5)));
    EXPECT_EQ(patient.updateMessage(), updateMessages::checkFailed);
}

}  // namespace
}  // namespace meridavolt::testing
