// The image and text-recognition part of the clipboard store. Decoding and
// recognition run on the background worker; only their results come back to
// the main thread, and only while the store exists.
#include "clipboard/ClipboardStore.h"

#include "platform/Files.h"
#include "platform/Text.h"

namespace meridavolt {

namespace {

constexpr const char* savingImage = "画像を保存中…";
constexpr const char* imageSaved = "画像を保存しました";
constexpr const char* imageRefused = "この画像は保存できません（形式・サイズを確認してください）";
constexpr const char* fileRefused = "画像を読み込めません（上限50MB）";
constexpr const char* textExtracted = "文字を取り出しました。履歴からコピーできます";
constexpr const char* recognitionFailed = "文字を読み取れませんでした：";
constexpr const char* noText = "文字が見つかりませんでした";

}  // namespace

std::optional<ScaledPNGs> ClipboardStore::prepareImage(const ImageCodec& codec, std::string_view data)
{
    if (data.size() > maximumInputImageBytes) return std::nullopt;
    // The byte cap does not bound decoding memory (a small PNG can hold
    // 20000 x 20000 pixels), so the codec checks the pixel count first.
    auto images = codec.scaledPNGs(data, fullImageMaxSide, thumbnailMaxSide, maximumImagePixels);
    if (!images || images->full.empty() || images->full.size() > ClipboardHistory::maximumImageBytes) {
        return std::nullopt;
    }
    if (images->thumbnail.empty()) return std::nullopt;
    return images;
}

void ClipboardStore::receiveImage(SharedBytes data, std::optional<std::string> before, std::function<void()> done)
{
    setStatus(savingImage);
    services_.worker->start([codec = services_.imageCodec, data = std::move(data), post = mainThreadPoster(), this,
                             before = std::move(before), done = std::move(done)]() mutable {
        std::optional<ScaledPNGs> images;
        try {
            images = prepareImage(*codec, data.view());
        } catch (const std::exception&) {
            images.reset();
        }
        post([this, images = std::move(images), before = std::move(before), done = std::move(done)] {
            finishImage(images, before);
            if (done) done();
        });
    });
}

void ClipboardStore::finishImage(const std::optional<ScaledPNGs>& images, const std::optional<std::string>& before)
{
    if (images && history_.insertImage(SharedBytes(images->full), SharedBytes(images->thumbnail),
                                       services_.clock.now())) {
        if (before && !history_.entries.empty()) history_.move(history_.entries.front().id, before);
        historyChanged.emit();
        setStatus(imageSaved);
    } else {
        setStatus(imageRefused);
    }
}

void ClipboardStore::importImage(const std::filesystem::path& file, std::optional<std::string> before,
                                 std::function<void()> done)
{
    services_.worker->start([file, post = mainThreadPoster(), this, before = std::move(before),
                             done = std::move(done)]() mutable {
        std::optional<std::string> bytes;
        try {
            bytes = readFileIfExists(file, maximumInputImageBytes);
        } catch (const std::exception&) {
            bytes.reset();
        }
        post([this, bytes = std::move(bytes), before = std::move(before), done = std::move(done)]() mutable {
            if (!bytes) {
                setStatus(fileRefused);
                if (done) done();
                return;
            }
            receiveImage(SharedBytes(std::move(*bytes)), std::move(before), std::move(done));
        });
    });
}

void ClipboardStore::recognizeText(const ClipboardEntry& entry)
{
    if (!entry.imageData || recognizing_) return;
    setRecognizing(true);
    services_.worker->start([recognizer = services_.textRecognizer, image = *entry.imageData,
                             post = mainThreadPoster(), this] {
        RecognizedText result;
        try {
            result = recognizer->recognize(image.view());
        } catch (const std::exception& error) {
            result = RecognizedText{std::nullopt, std::string(error.what())};
        }
        post([this, result = std::move(result)] { finishRecognition(result); });
    });
}

void ClipboardStore::finishRecognition(const RecognizedText& result)
{
    setRecognizing(false);
    if (result.text && !result.text->empty()) {
        // Blanks alone are no text: reporting them as extracted would claim a
        // success that `receive` refused.
        if (isBlank(*result.text)) return setStatus(noText);
        receive(*result.text);
        if (result.text->size() > ClipboardHistory::maximumUTF8Bytes) return;  // keeps receive's refusal
        setStatus(textExtracted);
    } else if (result.errorDescription) {
        setStatus(recognitionFailed + *result.errorDescription);
    } else {
        setStatus(noText);
    }
}

}  // namespace meridavolt
