#pragma once

#include "platform/Signal.h"
#include "web/WebSession.h"
#include "web/view/WebSurface.h"

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/entry.h>
#include <gtkmm/image.h>
#include <gtkmm/label.h>
#include <gtkmm/messagedialog.h>
#include <gtkmm/overlay.h>
#include <gtkmm/progressbar.h>
#include <gtkmm/separator.h>
#include <sigc++/connection.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace meridavolt {

// The view of one web session: a toolbar (back, forward, address field,
// reload, the video site's ad-block switch, open outside), a loading strip,
// the ad-block error line, and the page, covered by a failure panel when the
// page could not be opened. The pane owns no page state: it can be dropped
// and rebuilt at any time. It must not outlive its session.
//
// Widget names, for tests and styling: "back", "forward", "address",
// "reload", "shield", "openOutside", "loadingStrip", "adBlockingError",
// "page" (the WebSurface), "failurePanel", "failureText", "failureReload", "failureOpenOutside".
class BrowserPane final : public Gtk::Box {
public:
    // Opens an address in the default browser or the matching application.
    using OpenExternal = std::function<void(const std::string& url)>;

    BrowserPane(WebSession& session, OpenExternal openExternal, bool isActive = true);
    ~BrowserPane() override;

    WebSession& session() { return session_; }
    bool isActive() const { return surface_.isActive(); }
    // Only the active pane shows its page and may hold the keyboard focus.
    void setActive(bool active);

private:
    void update();
    void updateAddress();
    void updateToolbar();
    void updateLoadingStrip();
    void updateFailure();
    void updateExternalRequestDialog();
    void submitAddress();
    void showAddressAlert();
    void openOutside(const std::optional<std::string>& url);
    Gtk::Window* window();

    WebSession& session_;
    OpenExternal openExternal_;
    Connection sessionChanged_;
    std::optional<std::string> shownURL_;

    Gtk::Box toolbar_;
    Gtk::Button back_;
    Gtk::Button forward_;
    Gtk::Entry address_;
    Gtk::Button reload_;
    Gtk::Button shield_;
    Gtk::Button openOutside_;
    Gtk::ProgressBar loadingStrip_;
    sigc::connection loadingPulse_;
    Gtk::Separator divider_;
    Gtk::Label adBlockingError_;
    Gtk::Overlay pageArea_;
    WebSurface surface_;
    Gtk::Box failurePanel_;
    Gtk::Image failureImage_;
    Gtk::Label failureTitle_;
    Gtk::Label failureText_;
    Gtk::Button failureReload_;
    Gtk::Button failureOpenOutside_;

    std::unique_ptr<Gtk::MessageDialog> addressAlert_;
    std::unique_ptr<Gtk::MessageDialog> externalDialog_;
};

}  // namespace meridavolt
