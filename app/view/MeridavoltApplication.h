#pragma once

#include "app/InstanceLock.h"
#include "app/MacAppHost.h"
#include "app/view/ApplicationMenus.h"
#include "app/view/MacRootView.h"
#include "app/view/SystemEnvironment.h"
#include "platform/RendererChoice.h"

#include <gtkmm/application.h>

#include <memory>
#include <optional>

namespace meridavolt {

// The application: one process per user session (a second launch shows the
// running window through the session bus), one window, the menu bar, and the
// host that owns the application state for the life of the process.
class MeridavoltApplication final : public Gtk::Application {
public:
    static constexpr const char* applicationID = "com.pellowright.meridavolt";

    // renderer: how the window and the web views draw, chosen before the toolkit started.
    static Glib::RefPtr<MeridavoltApplication> create(const RendererChoice& renderer = {});
    ~MeridavoltApplication() override;

    // True when another process already works on the same data folder, found
    // while registering: this process must then end without a window.
    bool dataFolderBusy() const { return dataFolderBusy_; }

    MacAppHost* host() { return host_.get(); }
    MacRootView* window() { return window_.get(); }

protected:
    explicit MeridavoltApplication(const RendererChoice& renderer);
    void on_startup() override;
    void on_activate() override;
    void on_shutdown() override;

private:
    RendererChoice renderer_;
    std::optional<InstanceLock> lock_;
    bool dataFolderBusy_ = false;
    std::unique_ptr<SystemEnvironment> environment_;
    std::unique_ptr<MacAppHost> host_;
    std::unique_ptr<ApplicationMenus> menus_;
    std::unique_ptr<MacRootView> window_;
    Connection modelChanged_;
};

// The process entry: runs the application and returns its exit status.
int runApplication(int argc, char* argv[]);

}  // namespace meridavolt
