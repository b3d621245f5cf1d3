#include "app/view/MeridavoltApplication.h"

#include "clipboard/ClipboardStore.h"
#include "model/LibraryRepository.h"
#include "model/WorkSetRepository.h"
#include "platform/DataFolder.h"
#include "platform/Files.h"
#include "platform/SettingsFile.h"
#include "platform/gdk/DisplayGLProbe.h"
#include "update/view/UpdateServices.h"

#include <gdk/gdk.h>

#include <iostream>

namespace meridavolt {

MeridavoltApplication::MeridavoltApplication(const RendererChoice& renderer)
    : Gtk::Application(applicationID), renderer_(renderer)
{
}

MeridavoltApplication::~MeridavoltApplication() = default;

Glib::RefPtr<MeridavoltApplication> MeridavoltApplication::create(const RendererChoice& renderer)
{
    return Glib::make_refptr_for_instance<MeridavoltApplication>(new MeridavoltApplication(renderer));
}

// Runs once, in the first process only; later launches reach on_activate here
// through the session bus.
void MeridavoltApplication::on_startup()
{
    Gtk::Application::on_startup();
    lock_ = InstanceLock::acquire(InstanceLock::defaultFile());
    if (lock_->state() == InstanceLock::State::heldByAnotherProcess) {
        dataFolderBusy_ = true;
        return;
    }
    // Only while holding the lock: without it, a temporary file may be
    // another process's save in flight.
    if (lock_->state() == InstanceLock::State::held) {
        removeStaleTemporaryFiles(applicationDataFolder(),
                                  {JSONLibraryRepository::defaultFileURL().filename().string(),
                                   JSONWorkSetRepository::defaultFileURL().filename().string(),
                                   ClipboardStore::pinsFileName});
        removeStaleTemporaryFiles(SettingsFile::defaultPath().parent_path(),
                                  {SettingsFile::defaultPath().filename().string()});
    }
    Gtk::Window::set_default_icon_name(applicationID);
    environment_ = std::make_unique<SystemEnvironment>(renderer_.webAccelerationNever
                                                           ? WebKitEngineFactory::Acceleration::never
                                                           : WebKitEngineFactory::Acceleration::toolkitDefault);
    host_ = std::make_unique<MacAppHost>(makeMacDistribution(), [this] { return environment_->makeAppModel(); });
    menus_ = std::make_unique<ApplicationMenus>(*this, [this] {
        if (window_) window_->presentUpdates();
    });
    modelChanged_ = host_->modelChanged.connect([this] { menus_->showServices(*host_->model()); });
    // Closing the window only hides it: the process keeps the state, the pages
    // and the global hot key until the user quits.
    hold();
}

void MeridavoltApplication::on_activate()
{
    if (dataFolderBusy_) return;
    if (!window_) window_ = std::make_unique<MacRootView>(*host_);
    // A hidden window has left the application's list; it comes back as it was.
    if (!window_->get_application()) add_window(*window_);
    window_->present();
}

void MeridavoltApplication::on_shutdown()
{
    // The pages and their engines go while the toolkit is still up.
    if (window_ && window_->get_application()) remove_window(*window_);
    window_.reset();
    modelChanged_.disconnect();
    menus_.reset();
    host_.reset();
    environment_.reset();
    Gtk::Application::on_shutdown();
}

int runApplication(int argc, char* argv[])
{
    // The clipboard watch and the global hot key need X11: under Wayland the
    // window goes through XWayland when it is there.
    gdk_set_allowed_backends("x11,*");
    auto application = MeridavoltApplication::create(fitRendererToDisplay());
    try {
        application->register_application();
    } catch (const Glib::Error& error) {
        std::cerr << "MERIDAVOLT: " << error.what() << "\n";
        return 1;
    }
    if (application->dataFolderBusy()) {
        std::cerr << "MERIDAVOLT is already running with this data folder ("
                  << InstanceLock::defaultFile().parent_path().string() << ").\n";
        return 1;
    }
    return application->run(argc, argv);
}

}  // namespace meridavolt
