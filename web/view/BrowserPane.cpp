#include "web/view/BrowserPane.h"

#include "model/WebsiteURL.h"
#include "platform/gdk/WidgetStyle.h"

#include <gtk/gtk.h>
#include <gtkmm/cssprovider.h>
#include <gtkmm/icontheme.h>
#include <gtkmm/stylecontext.h>
#include <glibmm/main.h>

namespace meridavolt {

namespace {

// Dialogs are closed from their own response handlers: hide now, destroy once
// the handler has returned.
void discardLater(std::unique_ptr<Gtk::MessageDialog> dialog)
{
    if (!dialog) return;
    dialog->hide();
    std::shared_ptr<Gtk::MessageDialog> held(std::move(dialog));
    Glib::signal_idle().connect_once([held] {});
}

const char* const shieldHelp =
    "広告ブロック（実験版）。クリックで切り替えて再読み込み。再生できない場合はオフにしてください。";

// The application's own symbolic icons, compiled into its resources.
const char* const bundledIconsPath = "/com/pellowright/meridavolt/icons";

void installStyle()
{
    static bool installed = false;
    if (installed) return;
    installed = true;
    Gtk::IconTheme::get_for_display(Gdk::Display::get_default())->add_resource_path(bundledIconsPath);
    auto provider = Gtk::CssProvider::create();
    provider->load_from_data(R"CSS(
        .meridavolt-shield-on { color: #ff9500; }
        .meridavolt-loading-strip, .meridavolt-loading-strip trough, .meridavolt-loading-strip progress {
            min-height: 3px;
        }
    )CSS");
    Gtk::StyleContext::add_provider_for_display(Gdk::Display::get_default(), provider,
                                                GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
}

void makeToolbarButton(Gtk::Button& button, const char* name, const char* icon, const Glib::ustring& label)
{
    button.set_name(name);
    button.set_icon_name(icon);
    button.set_has_frame(false);
    button.set_focus_on_click(false);
    setAccessibleLabel(button, label);
}

void makeLargeTargetButton(Gtk::Button& button, const char* name, const char* icon, const Glib::ustring& label)
{
    makeToolbarButton(button, name, icon, label);
    button.set_size_request(32, 44);  // the click target, larger than the image
}

}  // namespace

BrowserPane::BrowserPane(WebSession& session, OpenExternal openExternal, bool isActive)
    : Gtk::Box(Gtk::Orientation::VERTICAL, 0),
      session_(session),
      openExternal_(std::move(openExternal)),
      toolbar_(Gtk::Orientation::HORIZONTAL, 8),
      surface_(session),
      failurePanel_(Gtk::Orientation::VERTICAL, 20)
{
    installStyle();

    toolbar_.set_margin_start(8);
    toolbar_.set_margin_end(8);
    toolbar_.set_margin_top(4);
    toolbar_.set_margin_bottom(4);
    makeLargeTargetButton(back_, "back", "go-previous-symbolic", "戻る");
    makeLargeTargetButton(forward_, "forward", "go-next-symbolic", "進む");
    makeLargeTargetButton(reload_, "reload", "view-refresh-symbolic", "再読み込み");
    makeLargeTargetButton(shield_, "shield", "security-high-symbolic", "広告ブロック（実験版）: オン");
    makeToolbarButton(openOutside_, "openOutside", "meridavolt-arrow-up-right-square-symbolic", "外部ブラウザで開く");
    shield_.set_tooltip_text(shieldHelp);
    address_.set_name("address");
    address_.set_placeholder_text("Webサイトのアドレス");
    address_.set_has_frame(false);
    address_.set_hexpand(true);
    address_.set_valign(Gtk::Align::CENTER);
    setAccessibleLabel(address_, "URL");
    for (Gtk::Widget* control :
         std::initializer_list<Gtk::Widget*>{&back_, &forward_, &address_, &reload_, &shield_, &openOutside_}) {
        toolbar_.append(*control);
    }
    append(toolbar_);

    loadingStrip_.set_name("loadingStrip");
    loadingStrip_.add_css_class("meridavolt-loading-strip");
    loadingStrip_.set_size_request(-1, 3);
    loadingStrip_.set_pulse_step(0.1);
    append(loadingStrip_);
    append(divider_);

    adBlockingError_.set_name("adBlockingError");
    adBlockingError_.add_css_class("caption");
    adBlockingError_.add_css_class("dim-label");
    adBlockingError_.set_margin(6);
    adBlockingError_.set_wrap(true);
    append(adBlockingError_);

    failurePanel_.set_name("failurePanel");
    failurePanel_.add_css_class("view");  // the standard background, covering the page
    failurePanel_.set_valign(Gtk::Align::FILL);
    failurePanel_.set_halign(Gtk::Align::FILL);
    failureImage_.set_from_icon_name("dialog-warning-symbolic");
    failureImage_.set_pixel_size(48);
    failureImage_.set_valign(Gtk::Align::END);
    failureImage_.set_vexpand(true);
    failureImage_.set_margin_top(20);
    failureTitle_.set_text("ページを開けませんでした");
    failureTitle_.add_css_class("heading");
    failureText_.set_name("failureText");
    failureText_.add_css_class("caption");
    failureText_.add_css_class("dim-label");
    failureText_.set_justify(Gtk::Justification::CENTER);
    failureText_.set_wrap(true);
    failureText_.set_margin_start(20);
    failureText_.set_margin_end(20);
    failureReload_.set_name("failureReload");
    failureReload_.set_label("再読み込み");
    failureReload_.set_halign(Gtk::Align::CENTER);
    failureOpenOutside_.set_name("failureOpenOutside");
    failureOpenOutside_.set_label("外部ブラウザで開く");
    failureOpenOutside_.set_halign(Gtk::Align::CENTER);
    failureOpenOutside_.set_valign(Gtk::Align::START);
    failureOpenOutside_.set_vexpand(true);
    failureOpenOutside_.set_margin_bottom(20);
    for (Gtk::Widget* item : std::initializer_list<Gtk::Widget*>{&failureImage_, &failureTitle_, &failureText_,
                                                                 &failureReload_, &failureOpenOutside_}) {
        failurePanel_.append(*item);
    }
    surface_.set_name("page");
    pageArea_.set_child(surface_);
    pageArea_.add_overlay(failurePanel_);
    pageArea_.set_vexpand(true);
    append(pageArea_);

    back_.signal_clicked().connect([this] { session_.goBack(); });
    forward_.signal_clicked().connect([this] { session_.goForward(); });
    reload_.signal_clicked().connect([this] { session_.reload(); });
    shield_.signal_clicked().connect([this] { session_.toggleAdBlocking(); });
    openOutside_.signal_clicked().connect([this] { openOutside(session_.currentURL()); });
    address_.signal_activate().connect([this] { submitAddress(); });
    failureReload_.signal_clicked().connect([this] { session_.reload(); });
    failureOpenOutside_.signal_clicked().connect([this] {
        openOutside(session_.currentURL() ? session_.currentURL() : session_.engine().currentAddress());
    });

    sessionChanged_ = session_.changed.connect([this] { update(); });
    surface_.setActive(isActive);
    update();
}

BrowserPane::~BrowserPane()
{
    loadingPulse_.disconnect();
    discardLater(std::move(addressAlert_));
    discardLater(std::move(externalDialog_));
}

void BrowserPane::setActive(bool active)
{
    surface_.setActive(active);
    updateExternalRequestDialog();
}

void BrowserPane::update()
{
    updateAddress();
    updateToolbar();
    updateLoadingStrip();
    updateFailure();
    updateExternalRequestDialog();
}

void BrowserPane::updateAddress()
{
    // Typing never changes the session; a new address from the session
    // replaces whatever was typed.
    if (shownURL_ == session_.currentURL()) return;
    shownURL_ = session_.currentURL();
    address_.set_text(shownURL_.value_or(""));
}

void BrowserPane::updateToolbar()
{
    back_.set_sensitive(session_.canGoBack());
    forward_.set_sensitive(session_.canGoForward());

    shield_.set_visible(WebSession::isYouTubeURL(session_.currentURL()));
    shield_.set_sensitive(!session_.adBlockingPreparing());
    const bool shieldOn = session_.adBlockingEnabled() && !session_.adBlockingError();
    shield_.set_icon_name(shieldOn ? "security-high-symbolic" : "security-low-symbolic");
    if (shieldOn) {
        shield_.remove_css_class("dim-label");
        shield_.add_css_class("meridavolt-shield-on");
    } else {
        shield_.remove_css_class("meridavolt-shield-on");
        shield_.add_css_class("dim-label");
    }
    const char* state = session_.adBlockingError() ? "準備失敗" : session_.adBlockingEnabled() ? "オン" : "オフ";
    setAccessibleLabel(shield_, Glib::ustring("広告ブロック（実験版）: ") + state);

    adBlockingError_.set_visible(session_.adBlockingError().has_value());
    adBlockingError_.set_text(session_.adBlockingError().value_or(""));
}

void BrowserPane::updateLoadingStrip()
{
    loadingStrip_.set_visible(session_.loading());
    if (session_.loading() && !loadingPulse_.connected()) {
        loadingPulse_ = Glib::signal_timeout().connect(
            [this] {
                loadingStrip_.pulse();
                return true;
            },
            100);
    } else if (!session_.loading()) {
        loadingPulse_.disconnect();
    }
}

void BrowserPane::updateFailure()
{
    const bool failed = session_.failure().has_value();
    failurePanel_.set_visible(failed);
    failureText_.set_text(session_.failure().value_or(""));
    // Clicks and assistive technologies reach the page only while it shows.
    surface_.set_can_target(!failed);
    gtk_accessible_update_state(GTK_ACCESSIBLE(surface_.gobj()), GTK_ACCESSIBLE_STATE_HIDDEN, failed, -1);
}

void BrowserPane::updateExternalRequestDialog()
{
    const auto& request = session_.externalRequest();
    if (!request || !isActive()) {
        discardLater(std::move(externalDialog_));
        return;
    }
    if (externalDialog_) {
        externalDialog_->set_secondary_text(*request);
        return;
    }
    externalDialog_ = std::make_unique<Gtk::MessageDialog>("外部アプリで開きますか？", false,
                                                           Gtk::MessageType::QUESTION, Gtk::ButtonsType::NONE, true);
    if (auto* parent = window()) externalDialog_->set_transient_for(*parent);
    externalDialog_->set_secondary_text(*request);
    keepOneName(*externalDialog_->add_button("キャンセル", Gtk::ResponseType::CANCEL));
    keepOneName(*externalDialog_->add_button("開く", Gtk::ResponseType::ACCEPT));
    externalDialog_->signal_response().connect([this](int response) {
        auto address = session_.externalRequest();
        if (response == Gtk::ResponseType::ACCEPT && address) openOutside(address);
        // Closing the dialog in any way ends the request; the session's change removes the dialog.
        session_.dismissExternalRequest();
    });
    externalDialog_->show();
}

void BrowserPane::submitAddress()
{
    if (auto url = WebsiteURL::parse(address_.get_text().raw())) {
        session_.load(*url);
    } else {
        showAddressAlert();
    }
}

void BrowserPane::showAddressAlert()
{
    discardLater(std::move(addressAlert_));
    addressAlert_ = std::make_unique<Gtk::MessageDialog>("URLを確認してください", false, Gtk::MessageType::WARNING,
                                                         Gtk::ButtonsType::NONE, true);
    if (auto* parent = window()) addressAlert_->set_transient_for(*parent);
    keepOneName(*addressAlert_->add_button("OK", Gtk::ResponseType::CANCEL));
    addressAlert_->signal_response().connect([this](int) { discardLater(std::move(addressAlert_)); });
    addressAlert_->show();
}

void BrowserPane::openOutside(const std::optional<std::string>& url)
{
    if (url && openExternal_) openExternal_(*url);
}

Gtk::Window* BrowserPane::window() { return dynamic_cast<Gtk::Window*>(get_root()); }

}  // namespace meridavolt
