#include "StoreFixture.h"
#include "clipboard/ClipboardDrag.h"
#include "fakes/FakeDropItem.h"

#include <glib.h>

#include <fstream>

namespace meridavolt {
namespace {

using fakes::FakeDropItem;

constexpr const char* saved = "保存しました";
constexpr const char* imageSaved = "画像を保存しました";
constexpr const char* fileRefused = "画像を読み込めません（上限50MB）";

std::shared_ptr<FakeDropItem> textItem(const std::string& text)
{
    return std::make_shared<FakeDropItem>(std::vector<std::string>{"text/plain;charset=utf-8"},
                                          std::map<std::string, std::optional<std::string>>{}, text);
}

std::shared_ptr<FakeDropItem> ownEntry(const ClipboardEntry& entry)
{
    return std::make_shared<FakeDropItem>(
        std::vector<std::string>{memoryDragType, "text/plain;charset=utf-8"},
        std::map<std::string, std::optional<std::string>>{{memoryDragType, MemoryDrag{entry.id, entry.text}.toJSON()}},
        entry.text);
}

class ClipboardDrops : public StoreFixture {
protected:
    void SetUp() override
    {
        makeStore(false);
        codec->images["png bytes"] = ScaledPNGs{"full", "thumb"};
        codec->images["file bytes"] = ScaledPNGs{"file full", "file thumb"};
    }

    // Texts "c", "b", "a" from front to back.
    void storeThreeTexts()
    {
        for (const char* text : {"a", "b", "c"}) {
            store->receive(text);
            clock.advance(1);
        }
        store->setStatus(std::nullopt);
    }

    std::string idOf(const std::string& text) const
    {
        for (const auto& entry : store->history().entries)
            if (entry.text == text) return entry.id;
        return {};
    }

    bool drop(std::vector<std::shared_ptr<DropItem>> items, std::optional<std::string> before = std::nullopt)
    {
        const bool taken = store->acceptDrop(std::move(items), std::move(before));
        // The drop's task, a file read, then an image preparation.
        for (int step = 0; step < 4; ++step) finishBackgroundWork();
        return taken;
    }

    std::filesystem::path writeFile(const std::string& name, const std::string& bytes)
    {
        auto path = folder / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

};

TEST_F(ClipboardDrops, AnOwnEntryMovesInFrontOfTheTargetSilentlyAndTheOtherWaysAreNotTried)
{
    storeThreeTexts();
    const ClipboardEntry a = store->history().entries[2];
    auto item = ownEntry(a);
    EXPECT_TRUE(drop({item}, idOf("c")));
    EXPECT_EQ(historyTexts(), (std::vector<std::string>{"a", "c", "b"}));
    EXPECT_EQ(store->history().entries[0].id, a.id);
    EXPECT_EQ(store->status(), std::nullopt);
    EXPECT_EQ(item->loads, std::vector<std::string>{memoryDragType});
}

TEST_F(ClipboardDrops, APinnedOnlyOrRemovedEntryChangesNothing)
{
    storeThreeTexts();
    const ClipboardEntry b = store->history().entries[1];
    store->togglePin(b);
    store->updateHistory([&](ClipboardHistory& history) { history.remove(b.id); });
    store->setStatus(std::nullopt);
    const auto before = store->history().entries;

    EXPECT_TRUE(drop({ownEntry(b)}, idOf("c")));
    EXPECT_EQ(store->history().entries, before);
    EXPECT_EQ(store->status(), std::nullopt);
    ASSERT_EQ(store->pinned().size(), 1u);
}

TEST_F(ClipboardDrops, EachWayFallsThroughToTheNextWhenItGivesNothing)
{
    storeThreeTexts();
    // A broken own payload, image bytes that do not load, an address that is
    // no local file: the text is what remains.
    auto item = std::make_shared<FakeDropItem>(
        std::vector<std::string>{memoryDragType, "image/png", "text/uri-list"},
        std::map<std::string, std::optional<std::string>>{
            {memoryDragType, R"({"id":"X"})"}, {"image/png", std::nullopt}, {"text/uri-list", "https://example.com/x"}},
        "https://example.com/x");
    EXPECT_TRUE(drop({item}, idOf("b")));
    EXPECT_EQ(item->loads, (std::vector<std::string>{memoryDragType, "image/png", "text/uri-list", "text"}));
    EXPECT_EQ(historyTexts(), (std::vector<std::string>{"c", "https://example.com/x", "b", "a"}));
    EXPECT_EQ(store->status(), saved);
}

TEST_F(ClipboardDrops, ImageDataComesBeforeAFileAndTakesTheFirstImageTypeOffered)
{
    storeThreeTexts();
    auto item = std::make_shared<FakeDropItem>(
        std::vector<std::string>{"text/uri-list", "image/x-custom", "image/png"},
        std::map<std::string, std::optional<std::string>>{{"image/x-custom", "png bytes"}});
    EXPECT_TRUE(drop({item}, idOf("b")));
    EXPECT_EQ(item->loads, std::vector<std::string>{"image/x-custom"});
    ASSERT_EQ(store->history().entries.size(), 4u);
    EXPECT_TRUE(store->history().entries[1].isImage());
    EXPECT_EQ(store->status(), imageSaved);
}

TEST_F(ClipboardDrops, ALinkOfferedOnlyAsAnAddressIsStoredAsItsText)
{
    auto link = std::make_shared<FakeDropItem>(
        std::vector<std::string>{"text/uri-list"},
        std::map<std::string, std::optional<std::string>>{{"text/uri-list", "https://example.com/page?q=1\r\n"}},
        "https://example.com/page?q=1");
    EXPECT_TRUE(drop({link}));
    EXPECT_EQ(historyTexts(), std::vector<std::string>{"https://example.com/page?q=1"});
    EXPECT_EQ(store->status(), saved);
}

TEST_F(ClipboardDrops, ATextGoesInFrontOfItsTargetAndAgainKeepsItsID)
{
    storeThreeTexts();
    EXPECT_TRUE(drop({textItem("dropped")}, idOf("a")));
    EXPECT_EQ(historyTexts(), (std::vector<std::string>{"c", "b", "dropped", "a"}));
    EXPECT_EQ(store->status(), saved);
    const std::string id = idOf("dropped");

    store->setStatus(std::nullopt);
    EXPECT_TRUE(drop({textItem("dropped")}, idOf("c")));
    EXPECT_EQ(historyTexts(), (std::vector<std::string>{"dropped", "c", "b", "a"}));
    EXPECT_EQ(idOf("dropped"), id);
    EXPECT_EQ(store->status(), saved);
}

TEST_F(ClipboardDrops, BlankAndOversizeTextsAreDroppedWithoutAMessage)
{
    storeThreeTexts();
    EXPECT_TRUE(drop({textItem(" \n\u3000"), textItem(std::string(100'001, 'x'))}, idOf("a")));
    EXPECT_EQ(historyTexts(), (std::vector<std::string>{"c", "b", "a"}));
    EXPECT_EQ(store->status(), std::nullopt);
}

TEST_F(ClipboardDrops, ThirtyFiveItemsStoreTheFirstThirty)
{
    std::vector<std::shared_ptr<DropItem>> items;
    for (int i = 0; i < 35; ++i) items.push_back(textItem("clip " + std::to_string(i)));
    EXPECT_TRUE(drop(items));
    ASSERT_EQ(store->history().entries.size(), 30u);
    EXPECT_EQ(store->history().entries.front().text, "clip 29");
    EXPECT_EQ(store->history().entries.back().text, "clip 0");
}

TEST_F(ClipboardDrops, ADropWithNothingAcceptedIsRefusedAndTheAcceptedItemsAloneAreKept)
{
    auto foreign = std::make_shared<FakeDropItem>(std::vector<std::string>{"application/x-unknown"},
                                                  std::map<std::string, std::optional<std::string>>{}, "never");
    EXPECT_FALSE(drop({foreign}));
    EXPECT_FALSE(drop({}));
    EXPECT_TRUE(foreign->loads.empty());
    EXPECT_TRUE(store->history().entries.empty());

    EXPECT_TRUE(drop({foreign, textItem("kept")}));
    EXPECT_EQ(historyTexts(), std::vector<std::string>{"kept"});
    EXPECT_TRUE(foreign->loads.empty());
}

TEST_F(ClipboardDrops, ItemsAreTakenOneAfterAnotherEachFinishedBeforeTheNextBegins)
{
    auto image = std::make_shared<FakeDropItem>(
        std::vector<std::string>{"image/png"},
        std::map<std::string, std::optional<std::string>>{{"image/png", "png bytes"}});
    auto text = textItem("after the image");
    image->deferred = true;
    ASSERT_TRUE(store->acceptDrop({image, text}, std::nullopt));
    EXPECT_TRUE(image->loads.empty()) << "the drop's work starts after acceptDrop returns";
    scheduler.runPending();
    EXPECT_EQ(image->loads.size(), 1u);
    EXPECT_TRUE(text->loads.empty());

    image->answerAll();
    EXPECT_TRUE(text->loads.empty()) << "the image is still being prepared";
    finishBackgroundWork();
    EXPECT_EQ(text->loads, std::vector<std::string>{"text"});
    EXPECT_EQ(historyTexts(), (std::vector<std::string>{"after the image", ClipboardEntry::imageText}));
}

TEST_F(ClipboardDrops, ALocalImageFileIsImportedInFrontOfTheTarget)
{
    storeThreeTexts();
    const auto file = writeFile("photo one.png", "file bytes");
    // The space in the name arrives escaped.
    gchar* uri = g_filename_to_uri(file.c_str(), nullptr, nullptr);
    auto escaped = std::make_shared<FakeDropItem>(
        std::vector<std::string>{"text/uri-list"},
        std::map<std::string, std::optional<std::string>>{{"text/uri-list", std::string(uri) + "\r\n"}});
    g_free(uri);

    EXPECT_TRUE(drop({escaped}, idOf("b")));
    ASSERT_EQ(store->history().entries.size(), 4u);
    EXPECT_TRUE(store->history().entries[1].isImage());
    EXPECT_EQ(store->history().entries[1].imageData->str(), "file full");
    EXPECT_EQ(store->status(), imageSaved);
}

TEST_F(ClipboardDrops, AFileOver50MiBReportsTheLimitAndAForeignHostIsOnlyAnAddress)
{
    const auto big = folder / "big.png";
    { std::ofstream(big, std::ios::binary); }
    std::filesystem::resize_file(big, 60u * 1024 * 1024);
    gchar* uri = g_filename_to_uri(big.c_str(), nullptr, nullptr);
    const std::string bigURI = uri;
    g_free(uri);
    auto bigItem = std::make_shared<FakeDropItem>(
        std::vector<std::string>{"text/uri-list"},
        std::map<std::string, std::optional<std::string>>{{"text/uri-list", bigURI}}, bigURI);
    EXPECT_TRUE(drop({bigItem}));
    EXPECT_EQ(store->status(), fileRefused);
    EXPECT_TRUE(store->history().entries.empty());

    const std::string remote = "file://otherhost" + writeFile("remote.png", "file bytes").string();
    auto remoteItem = std::make_shared<FakeDropItem>(
        std::vector<std::string>{"text/uri-list"},
        std::map<std::string, std::optional<std::string>>{{"text/uri-list", remote}}, remote);
    EXPECT_TRUE(drop({remoteItem}));
    EXPECT_EQ(historyTexts(), std::vector<std::string>{remote});
}

TEST_F(ClipboardDrops, ALoadAnsweringAfterTheStoreIsGoneDoesNothing)
{
    auto item = textItem("late");
    item->deferred = true;
    ASSERT_TRUE(store->acceptDrop({item}, std::nullopt));
    scheduler.runPending();
    store.reset();
    item->answerAll();  // must not touch the destroyed store
    SUCCEED();
}

// --- The drag payload and the helpers the toolkit adapter uses.

TEST(ClipboardDrag, ThePayloadNeedsBothKeysAsStringsAndSurvivesAnyText)
{
    const MemoryDrag drag{"0F8FAD5B-D9CB-469F-A165-70867728950E", "<b>&\u202e \"quoted\"\n"};
    auto back = MemoryDrag::fromJSON(drag.toJSON());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->id, drag.id);
    EXPECT_EQ(back->text, drag.text);
    EXPECT_FALSE(MemoryDrag::fromJSON(R"({"id":"A"})"));
    EXPECT_FALSE(MemoryDrag::fromJSON(R"({"text":"A"})"));
    EXPECT_FALSE(MemoryDrag::fromJSON(R"({"id":1,"text":"A"})"));
    EXPECT_FALSE(MemoryDrag::fromJSON("not json"));
    const MemoryDrag invalid{"A", std::string("\xff", 1)};
    EXPECT_EQ(invalid.toJSON(), "") << "invalid UTF-8 cannot be encoded";
}

TEST(ClipboardDrag, AnImageIsOfferedAsPNGAndATextAsText)
{
    ClipboardEntry image{"ID-1", ClipboardEntry::imageText, Date{}, SharedBytes("png"), SharedBytes("thumb")};
    ClipboardEntry text{"ID-2", "hello", Date{}, std::nullopt, std::nullopt};
    const DragOffer imageOffer = dragProvider(image);
    ASSERT_TRUE(imageOffer.png);
    EXPECT_EQ(imageOffer.png->str(), "png");
    EXPECT_FALSE(imageOffer.text);
    EXPECT_EQ(MemoryDrag::fromJSON(imageOffer.memoryDrag)->id, "ID-1");
    const DragOffer textOffer = dragProvider(text);
    EXPECT_FALSE(textOffer.png);
    EXPECT_EQ(textOffer.text, "hello");
}

TEST(ClipboardDrag, AcceptedTypesImageTypesAndLocalFiles)
{
    EXPECT_TRUE(offersAcceptedType({"application/octet-stream", "image/webp"}));
    EXPECT_TRUE(offersAcceptedType({"UTF8_STRING"}));
    EXPECT_TRUE(offersAcceptedType({"text/x-moz-url"}));
    EXPECT_FALSE(offersAcceptedType({"application/pdf", "STRING"}));
    EXPECT_EQ(imageType({"text/plain", "image/jpeg", "image/png"}), "image/jpeg");
    EXPECT_EQ(imageType({"text/plain", "image/"}), std::nullopt);

    EXPECT_EQ(localFilePath("file:///tmp/a%20b.png"), std::filesystem::path("/tmp/a b.png"));
    EXPECT_EQ(localFilePath("file://localhost/tmp/x.png"), std::filesystem::path("/tmp/x.png"));
    EXPECT_EQ(localFilePath(std::string("file://") + g_get_host_name() + "/tmp/x.png"),
              std::filesystem::path("/tmp/x.png"));
    EXPECT_EQ(localFilePath("file://otherhost/tmp/x.png"), std::nullopt);
    EXPECT_EQ(localFilePath("https://example.com/x.png"), std::nullopt);
    EXPECT_EQ(localFilePath("file:relative"), std::nullopt);
}

}  // namespace
}  // namespace meridavolt
