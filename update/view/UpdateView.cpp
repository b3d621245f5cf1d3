#include "update/view/UpdateView.h"

namespace meridavolt {

namespace {

constexpr int sheetWidth = 460;
constexpr int sheetMargin = 30;
constexpr const char* carryOverNote =
    "固定メモリーも引き継がれます。一時履歴は終了すると消えるので、必要な内容はピン留めしてください。";

void wrapLeading(Gtk::Label& label)
{
    label.set_wrap(true);
    label.set_wrap_mode(Pango::WrapMode::WORD_CHAR);
    label.set_xalign(0);
    label.set_halign(Gtk::Align::FILL);
    label.set_max_width_chars(1);  // the sheet's width, not the text, sets the line length
}

}  // namespace

UpdateView::UpdateView(Gtk::Window& parent, MacDistribution& distribution) : distribution_(distribution)
{
    set_title("アップデート");
    set_transient_for(parent);
    set_modal(true);
    set_resizable(false);
    set_hide_on_close(true);
    set_default_size(sheetWidth, -1);

    column_.set_margin(sheetMargin);
    column_.set_size_request(sheetWidth - 2 * sheetMargin, -1);

    title_.set_text("アップデート");
    title_.add_css_class("title-2");
    title_.set_hexpand(true);
    title_.set_xalign(0);
    closeButton_.set_label("閉じる");
    closeButton_.signal_clicked().connect([this] { set_visible(false); });
    titleRow_.append(title_);
    titleRow_.append(closeButton_);

    wrapLeading(messageLabel_);
    spinner_.set_halign(Gtk::Align::START);

    checkButton_.set_label("更新を確認");
    checkButton_.signal_clicked().connect([this] { distribution_.checkUpdate(); });
    saveButton_.set_label("更新を保存");
    saveButton_.signal_clicked().connect([this] { distribution_.downloadUpdate(); });
    buttonRow_.append(checkButton_);
    buttonRow_.append(saveButton_);

    note_.set_text(carryOverNote);
    wrapLeading(note_);
    note_.add_css_class("caption");
    note_.add_css_class("dim-label");

    column_.append(titleRow_);
    column_.append(messageLabel_);
    column_.append(spinner_);
    column_.append(buttonRow_);
    column_.append(note_);
    set_child(column_);

    auto escape = Gtk::ShortcutController::create();
    escape->add_shortcut(Gtk::Shortcut::create(Gtk::KeyvalTrigger::create(GDK_KEY_Escape),
                                               Gtk::CallbackAction::create([this](Gtk::Widget&, const Glib::VariantBase&) {
                                                   set_visible(false);
                                                   return true;
                                               })));
    add_controller(escape);

    changed_ = distribution_.changed.connect([this] { refresh(); });
    shown_ = signal_show().connect(sigc::mem_fun(*this, &UpdateView::onShown));
    hidden_ = signal_hide().connect(sigc::mem_fun(*this, &UpdateView::onHidden));
    refresh();
}

UpdateView::~UpdateView()
{
    // The toolkit hides the window while destroying it, after our members are gone.
    shown_.disconnect();
    hidden_.disconnect();
    if (get_visible()) onHidden();
}

void UpdateView::onShown()
{
    distribution_.setShowingUpdates(true);
    sheetCheck_ = distribution_.checkUpdate();
}

void UpdateView::onHidden()
{
    // The check the sheet started belongs to the sheet; the buttons' operations run on.
    distribution_.cancelCheck(sheetCheck_);
    sheetCheck_ = 0;
    distribution_.setShowingUpdates(false);
}

void UpdateView::refresh()
{
    messageLabel_.set_text(distribution_.updateMessage());
    spinner_.set_visible(distribution_.updateBusy());
    spinner_.set_spinning(distribution_.updateBusy());
    checkButton_.set_sensitive(distribution_.canStartOperation());
    saveButton_.set_visible(distribution_.release().has_value());
    saveButton_.set_sensitive(distribution_.canStartOperation());
}

void presentUpdateSheet(Gtk::Window& parent, MacDistribution& distribution)
{
    if (distribution.showingUpdates()) return;
    auto* sheet = new UpdateView(parent, distribution);
    sheet->signal_hide().connect([sheet] { Glib::signal_idle().connect_once([sheet] { delete sheet; }); });
    sheet->present();
}

}  // namespace meridavolt
