#include "clipboard/view/ClipboardPanel.h"

#include "clipboard/view/MemoryDragAndDrop.h"
#include "platform/SymbolIcons.h"
#include "platform/gdk/KeyboardReturn.h"
#include "platform/gdk/WidgetStyle.h"

#include <gdkmm/display.h>
#include <glibmm/main.h>
#include <gtkmm/cssprovider.h>
#include <gtkmm/filefilter.h>
#include <gtkmm/stylecontext.h>
#include <gtk/gtk.h>

#include <set>

namespace meridavolt {

using namespace clipboardpanel;

namespace {

constexpr int panelWidth = 390;
constexpr int panelHeight = 570;
constexpr int endStripHeight = 24;
// Wrapped texts ask for no more than this and take the width the panel has.
constexpr int wrappedWidthChars = 20;

// Orange is the memory's accent colour.
constexpr const char* styleSheet = R"css(
.memory-panel .memory-accent { color: #ff9500; }
.memory-panel .memory-title { font-weight: bold; }
.memory-panel .caption { font-size: 0.85em; }
.memory-panel .caption2 { font-size: 0.78em; }
.memory-panel .memory-empty-title { font-size: 0.95em; }
.memory-row { padding: 14px; border-radius: 14px; background-color: alpha(currentColor, 0.045); }
.memory-row.drop-target { box-shadow: inset 0 0 0 2px #ff9500; }
.memory-row-text { font-size: 13px; }
.memory-row button.flat { padding: 2px 6px; min-height: 22px; }
)css";

void ensurePanelStyle()
{
    static bool installed = false;
    if (installed) return;
    installed = true;
    auto provider = Gtk::CssProvider::create();
    provider->load_from_data(styleSheet);
    Gtk::StyleContext::add_provider_for_display(Gdk::Display::get_default(), provider,
                                                GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
}

Gtk::Label* hintLabel(Gtk::Label& label, const char* text, const char* size)
{
    label.set_text(text);
    label.set_wrap(true);
    label.set_max_width_chars(wrappedWidthChars);
    label.set_xalign(0);
    label.add_css_class(size);
    label.add_css_class("dim-label");
    return &label;
}

Gtk::Box* spacer()
{
    auto* box = Gtk::make_managed<Gtk::Box>();
    box->set_hexpand(true);
    return box;
}

}  // namespace

ClipboardPanel::ClipboardPanel(AppModel& model)
    : Gtk::Box(Gtk::Orientation::VERTICAL, 14), model_(model), store_(model.clipboard())
{
    ensurePanelStyle();
    add_css_class("memory-panel");
    set_margin(20);
    // Inside the 300-430 x 410-650 the panel allows, at its ideal size.
    set_size_request(panelWidth - 40, panelHeight - 40);

    buildHeader();
    buildControls();
    buildList();
    buildFooter();

    connections_.push_back(store_.historyChanged.connect([this] {
        refreshCounts();
        refreshRows();
    }));
    connections_.push_back(store_.pinnedChanged.connect([this] {
        refreshCounts();
        refreshRows();
    }));
    connections_.push_back(store_.recognizingChanged.connect([this] { refreshRowStates(); }));
    connections_.push_back(store_.statusChanged.connect([this] { refreshStatus(); }));
    connections_.push_back(store_.automaticChanged.connect([this] { refreshAutomatic(); }));
    connections_.push_back(model_.canPasteClipboardChanged.connect([this] {
        pasteHint_.set_text(pasteHint(model_.canPasteClipboard()));
        refreshRowStates();
    }));

    refreshCounts();
    refreshRows();
    refreshStatus();
    refreshAutomatic();
    pasteHint_.set_text(pasteHint(model_.canPasteClipboard()));
}

ClipboardPanel::~ClipboardPanel()
{
    freeLeaving_.disconnect();
    if (chooser_) chooser_->hide();
}

void ClipboardPanel::buildHeader()
{
    auto* symbol = Gtk::make_managed<Gtk::Image>();
    symbol->set_from_icon_name(iconNameForSymbol("square.on.square"));
    auto* title = Gtk::make_managed<Gtk::Label>("PELLOWRI MEMORY");
    title->add_css_class("memory-title");
    counts_.add_css_class("caption");
    counts_.add_css_class("dim-label");
    close_.set_icon_name(iconNameForSymbol("xmark"));
    close_.add_css_class("flat");
    nameControl(close_, closeLabel);
    close_.signal_clicked().connect([this] { model_.setShowingClipboard(false); });
    header_.append(*symbol);
    header_.append(*title);
    header_.append(*spacer());
    header_.append(counts_);
    header_.append(close_);
    append(header_);
}

void ClipboardPanel::buildControls()
{
    labelledButton(capture_, "plus", "今のコピーを保存");
    capture_.signal_clicked().connect([this] { store_.capture(); });
    auto* automaticLabel = Gtk::make_managed<Gtk::Label>("自動保存");
    automatic_.set_valign(Gtk::Align::CENTER);
    nameControl(automatic_, "自動保存");
    // Only the user's flip is written: a write restarts the poll.
    automatic_.property_active().signal_changed().connect([this] {
        if (!showingAutomatic_ && automatic_.get_active() != store_.automatic()) {
            store_.setAutomatic(automatic_.get_active());
        }
    });
    captureRow_.append(capture_);
    captureRow_.append(*spacer());
    captureRow_.append(*automaticLabel);
    captureRow_.append(automatic_);
    append(captureRow_);

    labelledButton(import_, "photo.badge.plus", "画像ファイルを追加");
    import_.add_css_class("caption");
    import_.signal_clicked().connect([this] { chooseImages(); });
    importRow_.append(import_);
    importRow_.append(*spacer());
    append(importRow_);

    search_.set_placeholder_text("履歴を検索");
    // Assistive technologies read no placeholder; without a name they would read the class name.
    setAccessibleLabel(search_, "履歴を検索");
    search_.signal_changed().connect([this] { filterRows(); });
    append(search_);
}

void ClipboardPanel::buildList()
{
    auto* emptySymbol = Gtk::make_managed<Gtk::Image>();
    emptySymbol->set_from_icon_name(iconNameForSymbol("square.on.square.dashed"));
    emptySymbol->set_pixel_size(32);
    emptySymbol->add_css_class("memory-accent");
    auto* emptyTitle = Gtk::make_managed<Gtk::Label>("コピーした情報を、ここに。");
    emptyTitle->add_css_class("memory-empty-title");
    auto* emptyDetail = Gtk::make_managed<Gtk::Label>("画像・テキスト・URLを30件まで");
    emptyDetail->add_css_class("caption");
    emptyDetail->add_css_class("dim-label");
    emptyState_.append(*emptySymbol);
    emptyState_.append(*emptyTitle);
    emptyState_.append(*emptyDetail);
    emptyState_.set_margin_top(44);
    emptyState_.set_margin_bottom(44);
    emptyState_.set_hexpand(true);
    notFound_.add_css_class("dim-label");
    notFound_.set_margin(30);

    endStrip_.set_size_request(-1, endStripHeight);
    attachMemoryDropTarget(endStrip_, store_, [] { return std::optional<std::string>(); });
    listBox_.append(emptyState_);
    listBox_.append(notFound_);
    listBox_.append(endStrip_);

    scroller_.set_policy(Gtk::PolicyType::NEVER, Gtk::PolicyType::AUTOMATIC);
    scroller_.set_overlay_scrolling(false);
    scroller_.set_vexpand(true);
    scroller_.set_child(listBox_);
    attachMemoryDropTarget(scroller_, store_, [] { return std::optional<std::string>(); });
    append(scroller_);
}

void ClipboardPanel::buildFooter()
{
    status_.set_wrap(true);
    status_.set_wrap_mode(Pango::WrapMode::WORD_CHAR);
    status_.set_lines(2);
    status_.set_max_width_chars(wrappedWidthChars);
    status_.set_ellipsize(Pango::EllipsizeMode::END);
    status_.set_xalign(0);
    status_.set_use_markup(false);
    status_.add_css_class("caption");
    status_.add_css_class("dim-label");
    append(status_);
    append(*hintLabel(imageHint_,
                      "画像はコピーして、画像対応のアプリや入力欄へ貼り付けられます。大きい画像は長辺4096pxまで縮小します。",
                      "caption2"));
    append(*hintLabel(pasteHint_, "", "caption"));

    auto* note = Gtk::make_managed<Gtk::Label>();
    hintLabel(*note, "ピン留めした内容は終了後もこの端末に保存", "caption2");
    clear_.set_label("一時履歴を消去");
    clear_.add_css_class("destructive-action");
    clear_.add_css_class("caption");
    clear_.signal_clicked().connect([this] { askToClear(); });
    footer_.append(*note);
    footer_.append(*spacer());
    footer_.append(clear_);
    append(footer_);
}

void ClipboardPanel::prepareForOpening()
{
    if (!search_.get_text().empty()) search_.set_text("");
}

void ClipboardPanel::refreshCounts()
{
    counts_.set_text(countsText(store_.history().entries.size(), store_.pinned().size()));
    clear_.set_sensitive(!store_.history().entries.empty());
}

void ClipboardPanel::refreshRows()
{
    // One row per entry of the memory, kept while its entry lives; the search
    // only hides rows, so typing never builds or drops one.
    const std::vector<ClipboardEntry> all = store_.matching("");
    std::set<std::string> present;
    Gtk::Widget* previous = &notFound_;
    for (const auto& entry : all) {
        present.insert(entry.id);
        auto found = rows_.find(entry.id);
        if (found == rows_.end()) {
            found = rows_.emplace(entry.id, std::make_unique<ClipboardPanelRow>(model_, entry)).first;
            listBox_.insert_child_after(*found->second, *previous);
        } else {
            found->second->update(entry);
            found->second->refreshState();
            if (found->second->get_prev_sibling() != previous) listBox_.reorder_child_after(*found->second, *previous);
        }
        previous = found->second.get();
    }
    for (auto row = rows_.begin(); row != rows_.end();) {
        if (present.count(row->first)) {
            ++row;
            continue;
        }
        listBox_.remove(*row->second);
        leaving_.push_back(std::move(row->second));
        row = rows_.erase(row);
    }
    if (!leaving_.empty() && !freeLeaving_.connected()) {
        freeLeaving_ = Glib::signal_idle().connect([this] {
            leaving_.clear();
            return false;
        });
    }
    filterRows();
}

void ClipboardPanel::filterRows()
{
    const std::string query = search_.get_text();
    std::set<std::string> matched;
    if (!query.empty()) {
        for (const auto& entry : store_.matching(query)) matched.insert(entry.id);
    }
    for (auto& [id, row] : rows_) row->set_visible(query.empty() || matched.count(id));
    const Placeholder kind = placeholderFor(store_, query.empty() ? rows_.size() : matched.size());
    emptyState_.set_visible(kind == Placeholder::empty);
    notFound_.set_visible(kind == Placeholder::notFound);
}

void ClipboardPanel::refreshRowStates()
{
    for (auto& [id, row] : rows_) row->refreshState();
}

void ClipboardPanel::refreshStatus()
{
    status_.set_visible(store_.status().has_value());
    status_.set_text(store_.status().value_or(""));
}

void ClipboardPanel::refreshAutomatic()
{
    showingAutomatic_ = true;
    automatic_.set_active(store_.automatic());
    showingAutomatic_ = false;
}

std::vector<std::string> ClipboardPanel::shownIDs() const
{
    std::vector<std::string> ids;
    for (auto* child = listBox_.get_first_child(); child; child = child->get_next_sibling()) {
        auto* row = dynamic_cast<const ClipboardPanelRow*>(child);
        if (row && row->get_visible()) ids.push_back(row->entry().id);
    }
    return ids;
}

ClipboardPanelRow* ClipboardPanel::row(const std::string& id)
{
    auto found = rows_.find(id);
    return found != rows_.end() ? found->second.get() : nullptr;
}

Placeholder ClipboardPanel::placeholder() const
{
    if (emptyState_.get_visible()) return Placeholder::empty;
    return notFound_.get_visible() ? Placeholder::notFound : Placeholder::none;
}

void ClipboardPanel::askToClear()
{
    auto* window = dynamic_cast<Gtk::Window*>(get_root());
    confirmation_ = std::make_unique<Gtk::MessageDialog>("一時履歴を消去しますか？固定メモリーは残ります。", false,
                                                         Gtk::MessageType::WARNING, Gtk::ButtonsType::NONE, true);
    if (window) confirmation_->set_transient_for(*window);
    keepOneName(*confirmation_->add_button("キャンセル", Gtk::ResponseType::CANCEL));
    auto* clear = confirmation_->add_button("一時履歴を消去", Gtk::ResponseType::ACCEPT);
    keepOneName(*clear);
    clear->add_css_class("destructive-action");
    confirmation_->set_default_response(Gtk::ResponseType::CANCEL);
    confirmation_->signal_response().connect([this](int response) {
        if (response == Gtk::ResponseType::ACCEPT) confirmClear();
        dialogEnded(hideReturningKeyboard(*confirmation_));
    });
    dialogOpen_ = true;
    if (dialogOpening) dialogOpening();
    presentTakingKeyboard(*confirmation_);
}

void ClipboardPanel::confirmClear() { clearHistory(store_); }

void ClipboardPanel::chooseImages()
{
    auto* window = dynamic_cast<Gtk::Window*>(get_root());
    chooser_ = Gtk::FileChooserNative::create("画像ファイルを追加", Gtk::FileChooser::Action::OPEN, "", "");
    if (window) chooser_->set_transient_for(*window);
    chooser_->set_modal(true);
    chooser_->set_select_multiple(true);
    auto images = Gtk::FileFilter::create();
    images->set_name("画像");
    images->add_mime_type("image/*");
    chooser_->add_filter(images);
    chooser_->signal_response().connect([this](int response) {
        if (response == Gtk::ResponseType::ACCEPT) importChosen();
        chooser_->hide();
        dialogEnded(true);
    });
    dialogOpen_ = true;
    chooser_->show();
}

void ClipboardPanel::importChosen()
{
    GListModel* chosen = gtk_file_chooser_get_files(GTK_FILE_CHOOSER(chooser_->gobj()));
    std::vector<std::filesystem::path> files;
    bool local = true;
    for (guint i = 0; i < g_list_model_get_n_items(chosen); ++i) {
        auto* file = static_cast<GFile*>(g_list_model_get_item(chosen, i));
        gchar* path = g_file_get_path(file);
        if (path) files.emplace_back(path);
        local = local && path;
        g_free(path);
        g_object_unref(file);
    }
    g_object_unref(chosen);
    // Only files of this machine can be read.
    if (!local) return store_.setStatus(cannotOpenImages);
    importImages(store_, std::move(files));
}

void ClipboardPanel::dialogEnded(bool keyboardBack)
{
    dialogOpen_ = false;
    if (dialogClosed) dialogClosed(keyboardBack);
}

}  // namespace meridavolt
