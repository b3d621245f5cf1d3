#include "ModelSamples.h"
#include "model/DecodingError.h"
#include "model/LibraryJSON.h"

#include <gtest/gtest.h>


namespace meridavolt {
namespace {

using nlohmann::json;

json serviceObject()
{
    return json::parse(R"({"id":"x","name":"X","symbol":"xmark","url":"https://x.com","mode":"embedded",
        "actions":[{"title":"投稿する","url":"https://x.com/compose/post"}],"modifiedAt":700000000.25})");
}

TEST(LaunchModeTests, rawValuesAreExactAndCaseSensitive)
{
    ASSERT_EQ(allLaunchModes.size(), 2u);
    EXPECT_EQ(allLaunchModes[0], LaunchMode::embedded);
    EXPECT_EQ(allLaunchModes[1], LaunchMode::external);
    EXPECT_EQ(launchModeFromRawValue("embedded"), LaunchMode::embedded);
    EXPECT_EQ(launchModeFromRawValue("external"), LaunchMode::external);
    EXPECT_EQ(launchModeFromRawValue("Embedded"), std::nullopt);
    EXPECT_EQ(launchModeFromRawValue(""), std::nullopt);
}

TEST(QuickActionTests, theIdentityIsTheAddressAndEqualityCoversBothFields)
{
    QuickAction history{"履歴", "https://www.youtube.com/feed/history"};
    QuickAction renamed{"History", "https://www.youtube.com/feed/history"};
    EXPECT_EQ(history.id(), renamed.id());
    EXPECT_NE(history, renamed);
    EXPECT_NE(std::hash<QuickAction>{}(history), std::hash<QuickAction>{}(renamed));
}

TEST(ServiceTests, twoServicesEqualButForTheirModificationTimeDiffer)
{
    Service first = samples::service("a", 1.0);
    Service second = samples::service("a", 2.0);
    EXPECT_NE(first, second);
    second.modifiedAt = first.modifiedAt;
    EXPECT_EQ(first, second);
    EXPECT_EQ(std::hash<Service>{}(first), std::hash<Service>{}(second));
}

TEST(ServiceCodingTests, aServiceWithoutAnAppAddressDecodesWithoutOne)
{
    Service service = decodeService(serviceObject());
    EXPECT_EQ(service.id, "x");
    EXPECT_EQ(service.appURL, std::nullopt);
    ASSERT_EQ(service.actions.size(), 1u);
    EXPECT_EQ(service.actions[0].title, "投稿する");
    EXPECT_EQ(service.modifiedAt, Date{700000000.25});
}

TEST(ServiceCodingTests, theAppAddressIsWrittenOnlyWhenPresentAndReadBack)
{
    Service service = samples::service("line");
    EXPECT_FALSE(encodeService(service).contains("appURL"));
    service.appURL = "line://";
    service.mode = LaunchMode::external;
    json encoded = encodeService(service);
    EXPECT_EQ(encoded["appURL"], "line://");
    EXPECT_EQ(encoded["mode"], "external");
    EXPECT_EQ(decodeService(encoded), service);
}

TEST(ServiceCodingTests, aModeOtherThanTheTwoRawValuesFailsTheDecode)
{
    json object = serviceObject();
    object["mode"] = "Embedded";
    EXPECT_THROW(decodeService(object), DecodingError);
}

TEST(ServiceCodingTests, aMissingRequiredKeyFailsTheDecode)
{
    for (const char* key : {"id", "name", "symbol", "url", "mode", "actions", "modifiedAt"}) {
        json object = serviceObject();
        object.erase(key);
        EXPECT_THROW(decodeService(object), DecodingError) << key;
    }
    json object = serviceObject();
    object["actions"][0].erase("title");
    EXPECT_THROW(decodeService(object), DecodingError);
}

TEST(ServiceCodingTests, aValueOfTheWrongTypeFailsTheDecode)
{
    const std::vector<std::pair<const char*, json>> wrong{
        {"id", 7},           {"name", nullptr},   {"url", json::array()}, {"mode", 1},
        {"appURL", false},   {"actions", "none"}, {"modifiedAt", "2024"},  {"modifiedAt", true},
    };
    for (const auto& [key, value] : wrong) {
        json object = serviceObject();
        object[key] = value;
        EXPECT_THROW(decodeService(object), DecodingError) << key << " = " << value.dump();
    }
    EXPECT_THROW(decodeService(json::array()), DecodingError);
    json object = serviceObject();
    object["actions"] = json::array({"https://x.com"});
    EXPECT_THROW(decodeService(object), DecodingError);
}

}  // namespace
}  // namespace meridavolt
