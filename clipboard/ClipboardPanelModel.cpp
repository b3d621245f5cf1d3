#include "clipboard/ClipboardPanelModel.h"

#include "platform/Text.h"

#include <glib.h>

#include <memory>

namespace meridavolt::clipboardpanel {

std::string countsText(std::size_t historyCount, std::size_t pinCount)
{
    return "一時 " + std::to_string(historyCount) + "/" + std::to_string(ClipboardHistory::capacity) + "・固定 " +
           std::to_string(pinCount);
}

Placeholder placeholderFor(const ClipboardStore& store, std::size_t matchCount)
{
    if (store.history().entries.empty() && store.pinned().empty()) return Placeholder::empty;
    return matchCount == 0 ? Placeholder::notFound : Placeholder::none;
}

const char* pasteHint(bool canPaste)
{
    return canPaste ? "選択していた入力欄に貼り付けます" : "ページの入力欄を選んでから開くと直接貼れます";
}

const char* pinLabel(bool pinned) { return pinned ? "固定を解除" : "終了後も保存"; }

const char* pinSymbol(bool pinned) { return pinned ? "pin.fill" : "pin"; }

const char* recognizeTitle(bool recognizing) { return recognizing ? "読取中…" : "文字を取り出す"; }

const char* kindSymbol(const ClipboardEntry& entry)
{
    if (entry.isImage()) return "photo";
    return entry.webURL() ? "link" : "text.alignleft";
}

std::string captureTime(Date date)
{
    GDateTime* local = g_date_time_new_from_unix_local(static_cast<gint64>(date.unixSeconds()));
    if (!local) return {};
    gchar* text = g_date_time_format(local, "%H:%M");
    std::string time = text ? text : "";
    g_free(text);
    g_date_time_unref(local);
    return time;
}

std::string rowText(const ClipboardEntry& entry)
{
    return firstLines(characterPrefix(entry.text, rowCharacters), rowLines);
}

void deleteEntry(ClipboardStore& store, const ClipboardEntry& entry)
{
    if (store.isPinned(entry)) {
        store.togglePin(entry);
        if (store.isPinned(entry)) return;
    }
    store.updateHistory([&](ClipboardHistory& history) { history.remove(entry.id); });
}

void clearHistory(ClipboardStore& store)
{
    store.updateHistory([](ClipboardHistory& history) { history.clear(); });
    store.setStatus(clearedText);
}

namespace {

void importFrom(ClipboardStore& store, std::shared_ptr<std::vector<std::filesystem::path>> files, std::size_t index,
                std::function<void()> done)
{
    if (index >= files->size()) {
        if (done) done();
        return;
    }
    const auto file = (*files)[index];
    // importImage calls back only while the store exists, so `store` is valid then.
    store.importImage(file, std::nullopt, [&store, files, index, done = std::move(done)]() mutable {
        importFrom(store, files, index + 1, std::move(done));
    });
}

}  // namespace

void importImages(ClipboardStore& store, std::vector<std::filesystem::path> files, std::function<void()> done)
{
    if (files.size() > maximumImportedFiles) files.resize(maximumImportedFiles);
    importFrom(store, std::make_shared<std::vector<std::filesystem::path>>(std::move(files)), 0, std::move(done));
}

}  // namespace meridavolt::clipboardpanel
