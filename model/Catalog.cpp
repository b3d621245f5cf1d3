#include "model/Catalog.h"

#include <glib.h>

#include <cstdio>
#include <cstdlib>

namespace meridavolt::Catalog {

namespace {

constexpr std::size_t initialCount = 6;

// The catalogue's addresses are fixed in the program: one that does not parse
// is a programming error, caught on the first run of any test.
std::string checkedAddress(const char* url)
{
    if (!g_uri_is_valid(url, G_URI_FLAGS_NONE, nullptr)) {
        std::fprintf(stderr, "catalogue address does not parse: %s\n", url);
        std::abort();
    }
    return url;
}

QuickAction action(const char* title, const char* url) { return QuickAction{title, checkedAddress(url)}; }

std::vector<Service> buildRows()
{
    const Date now = SystemClock::shared().now();
    auto row = [now](const char* id, const char* name, const char* symbol, const char* url, LaunchMode mode,
                     std::optional<std::string> appURL = std::nullopt, std::vector<QuickAction> actions = {}) {
        return Service{id, name, symbol, checkedAddress(url), mode, std::move(appURL), std::move(actions), now};
    };
    const auto embedded = LaunchMode::embedded;
    const auto external = LaunchMode::external;
    return {
        row("safari", "Safari", "safari", "https://www.google.com", embedded),
        row("youtube", "YouTube", "play.rectangle.fill", "https://www.youtube.com", embedded, std::nullopt,
            {action("登録チャンネル", "https://www.youtube.com/feed/subscriptions"),
             action("履歴", "https://www.youtube.com/feed/history")}),
        row("x", "X", "xmark", "https://x.com", embedded, std::nullopt,
            {action("投稿する", "https://x.com/compose/post"), action("ブックマーク", "https://x.com/i/bookmarks")}),
        row("instagram", "Instagram", "camera", "https://www.instagram.com", embedded, std::nullopt,
            {action("メッセージ", "https://www.instagram.com/direct/inbox/")}),
        row("tiktok", "TikTok", "music.note", "https://www.tiktok.com", embedded),
        row("note", "note", "square.and.pencil", "https://note.com", embedded, std::nullopt,
            {action("記事を書く", "https://note.com/notes/new"),
             action("ダッシュボード", "https://note.com/sitesettings/stats")}),
        row("line", "LINE", "message.fill", "https://line.me/R/nv/chat", external, "line://"),
        row("chatgpt", "ChatGPT", "sparkle", "https://chatgpt.com", external),
        row("drive", "Google Drive", "folder", "https://drive.google.com", external),
        row("chrome", "Chrome", "circle.hexagongrid", "https://www.google.com", external),
        row("canva", "Canva", "paintpalette", "https://www.canva.com", embedded),
        row("deepl", "DeepL", "character.bubble", "https://www.deepl.com/translator", embedded),
        row("amazon", "Amazon", "cart", "https://www.amazon.co.jp/", embedded),
    };
}

}  // namespace

const std::vector<Service>& all()
{
    static const std::vector<Service> rows = buildRows();
    return rows;
}

const std::vector<Service>& initial()
{
    static const std::vector<Service> rows = [] {
        const auto& everything = all();
        if (everything.size() <= initialCount) return everything;
        return std::vector<Service>(everything.begin(), everything.begin() + initialCount);
    }();
    return rows;
}

const std::vector<Service>& available() { return all(); }

const Service* find(std::string_view id)
{
    for (const auto& row : all()) {
        if (row.id == id) return &row;
    }
    return nullptr;
}

}  // namespace meridavolt::Catalog
