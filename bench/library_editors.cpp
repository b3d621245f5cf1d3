// The library editors' timing promises, measured on the real window with 100
// services:
// - Ctrl+, to the service manager drawn: under 150 ms;
// - a reorder drop to services.json written and the bar redrawn: under 50 ms;
// - the editor's "保存" to the new button drawn on the bar: under 50 ms;
// - a work set of 6 services, 3 of them live on local pages: its click to the
//   first page shown (for the record).
// The first sheet of a run also builds the renderer of a new window: with GTK's
// GL renderer on software GL (a virtual display) that alone is a few hundred
// milliseconds; GSK_RENDERER=cairo shows the figures without it.
// Run under a virtual display (scripts/bench.sh does).
#include "BenchSupport.h"
#include "desktop/view/DesktopContentView.h"
#include "desktop/view/ServiceButton.h"
#include "editors/ServiceManagerModel.h"
#include "editors/view/ServiceManager.h"
#include "editors/view/WorkSetManager.h"
#include "fakes/TemporaryFolder.h"
#include "model/LibraryRepository.h"
#include "model/WorkSetRepository.h"
#include "platform/SettingsFile.h"
#include "platform/glib/MainLoopScheduler.h"
#include "web/webkit/WebKitEngineFactory.h"
#include "support/LocalHttpServer.h"
#include "support/MainLoopWait.h"
#include "support/WidgetSearch.h"

#include <gdk/gdkkeysyms.h>
#include <gdk/x11/gdkx.h>
#include <gdkmm/frameclock.h>
#include <gtkmm/eventcontrollerkey.h>
#include <gtkmm/shortcut.h>
#include <gtkmm/shortcutaction.h>
#include <gtkmm/shortcutcontroller.h>
#include <gtkmm/shortcuttrigger.h>
#include <gtkmm/window.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <vector>

using namespace meridavolt;
using namespace std::chrono;
using namespace std::chrono_literals;

namespace {

using bench::NoWorkspace;
using Clock = steady_clock;
using bench::elapsedMilliseconds;

// The moment the next frame of a window has been painted.
class NextPaint {
public:
    explicit NextPaint(Gtk::Widget& widget) : clock_(widget.get_frame_clock() ? widget.get_frame_clock()->gobj() : nullptr)
    {
        if (!clock_) return;
        handler_ = g_signal_connect(clock_, "after-paint", G_CALLBACK(+[](GdkFrameClock*, gpointer data) {
                                        auto* self = static_cast<NextPaint*>(data);
                                        if (self->armed_ && !self->painted_) self->painted_ = Clock::now();
                                    }),
                                    this);
    }
    ~NextPaint()
    {
        if (clock_) g_signal_handler_disconnect(clock_, handler_);
    }
    void arm() { armed_ = true; }
    std::optional<Clock::time_point> wait()
    {
        testing::waitUntil([&] { return painted_.has_value(); }, 3s);
        return painted_;
    }

private:
    GdkFrameClock* clock_;
    gulong handler_ = 0;
    bool armed_ = false;
    std::optional<Clock::time_point> painted_;
};

using testing::findWidget;
using testing::shownWindow;

void xdotool(const std::string& arguments)
{
    g_spawn_command_line_sync(("xdotool " + arguments).c_str(), nullptr, nullptr, nullptr, nullptr);
}

struct Bench {
    Bench(fakes::TemporaryFolder& folder, WebKitEngineFactory& engines)
        : settings(SettingsFile::defaultPath()),
          model(AppModelServices{nullptr, nullptr, settings, SystemClock::shared(), MainLoopScheduler::shared(),
                                 workspace, engines.engineFactory(),
                                 [&] { return testing::makeFakeClipboardStore(settings, folder / "pins.json"); },
                                 nullptr})
    {
        window.set_default_size(1120, 780);
        view = std::make_unique<DesktopContentView>(model, settings, MainLoopScheduler::shared());
        view->setServiceManagerSheet([this] { return std::make_unique<ServiceManager>(model); });
        view->setWorkSetSheet([this] { return std::make_unique<WorkSetManager>(model); });
        window.set_child(*view);
        // The menu's Ctrl+, as the application installs it.
        auto keys = Gtk::ShortcutController::create();
        keys->set_scope(Gtk::ShortcutScope::GLOBAL);
        keys->add_shortcut(Gtk::Shortcut::create(
            Gtk::KeyvalTrigger::create(GDK_KEY_comma, Gdk::ModifierType::CONTROL_MASK),
            Gtk::CallbackAction::create([this](Gtk::Widget&, const Glib::VariantBase&) {
                model.setManaging(true);
                return true;
            })));
        window.add_controller(keys);
        auto pressed = Gtk::EventControllerKey::create();
        pressed->set_propagation_phase(Gtk::PropagationPhase::CAPTURE);
        pressed->signal_key_pressed().connect(
            [this](guint key, guint, Gdk::ModifierType) {
                if (key == GDK_KEY_comma) keyPressed = Clock::now();
                return false;
            },
            false);
        window.add_controller(pressed);
        window.present();
        testing::waitUntil([&] { return view->get_mapped() && view->get_width() > 0; });
        testing::runMainLoopFor(300ms);
    }
    ~Bench()
    {
        model.setManaging(false);
        model.setShowingWorkSets(false);
        testing::runMainLoopFor(50ms);
        window.unset_child();
        view.reset();
        window.destroy();
        testing::runMainLoopFor(20ms);
    }

    ServiceManager* openManager()
    {
        const std::string id = std::to_string(gdk_x11_surface_get_xid(window.get_surface()->gobj()));
        // Without a window manager the focus stays where the closed sheet left it.
        xdotool("mousemove --window " + id + " 500 400");
        xdotool("windowfocus --sync " + id);
        keyPressed = {};
        xdotool("key --window " + id + " ctrl+comma");
        testing::waitUntil([&] { return shownWindow("サービス") != nullptr; }, 3s);
        auto* sheet = shownWindow("サービス");
        return sheet ? findWidget<ServiceManager>(*sheet) : nullptr;
    }

    SettingsFile settings;
    NoWorkspace workspace;
    AppModel model;
    Gtk::Window window;
    std::unique_ptr<DesktopContentView> view;
    Clock::time_point keyPressed{};
};

void measureManager(Bench& bench)
{
    std::vector<double> opened;
    for (int round = 0; round < 8; ++round) {
        std::optional<Clock::time_point> painted;
        ServiceManager* manager = bench.openManager();
        if (manager) {
            auto* sheet = dynamic_cast<Gtk::Window*>(manager->get_root());
            testing::waitUntil([&] { return sheet->get_mapped(); }, 3s);
            NextPaint paint(*sheet);
            paint.arm();
            painted = paint.wait();
        }
        if (painted && bench.keyPressed != Clock::time_point{})
            opened.push_back(elapsedMilliseconds(*painted - bench.keyPressed));
        bench.model.setManaging(false);
        testing::runMainLoopFor(200ms);
    }
    bench::printFigures("Ctrl+, -> manager drawn (100 services)", opened, 150);
}

void measureReorder(Bench& bench)
{
    std::vector<double> written, redrawn;
    ServiceManager* manager = bench.openManager();
    if (!manager) return;
    ServiceManagerModel services(bench.model);
    const auto file = std::filesystem::path(std::getenv("XDG_DATA_HOME")) / "MERIDAVOLT" / "services.json";
    for (int round = 0; round < 10; ++round) {
        NextPaint paint(bench.window);
        const auto before = std::filesystem::last_write_time(file);
        // What the list's drop does with the released row.
        const auto dropped = Clock::now();
        paint.arm();
        services.move({static_cast<std::size_t>(round % 2 == 0 ? 99 : 0)}, round % 2 == 0 ? 0 : 100);
        const auto stored = Clock::now();
        auto painted = paint.wait();
        if (std::filesystem::last_write_time(file) != before) written.push_back(elapsedMilliseconds(stored - dropped));
        if (painted) redrawn.push_back(elapsedMilliseconds(*painted - dropped));
        testing::runMainLoopFor(100ms);
    }
    bench::printFigures("reorder drop -> services.json written", written, 50);
    // The share of the atomic write itself (file and folder synced to disk).
    std::vector<double> saves;
    for (int round = 0; round < 10; ++round) {
        const auto start = Clock::now();
        JSONLibraryRepository().save(bench.model.library());
        saves.push_back(elapsedMilliseconds(Clock::now() - start));
    }
    bench::printFigures("  of which the atomic write with fsync", saves, std::nullopt);
    // The rest is the two published library changes (the order, then the stamp) and their observers.
    std::vector<double> changes;
    for (int round = 0; round < 10; ++round) {
        ServiceLibrary library = bench.model.library();
        library.services = movedItems(library.services, {round % 2 == 0 ? 99u : 0u}, round % 2 == 0 ? 0 : 100);
        const auto start = Clock::now();
        bench.model.setLibrary(std::move(library));
        changes.push_back(elapsedMilliseconds(Clock::now() - start));
    }
    bench::printFigures("  one published library change (bar and menus)", changes, std::nullopt);
    std::vector<double> persists;
    for (int round = 0; round < 10; ++round) {
        const auto start = Clock::now();
        bench.model.persist();
        persists.push_back(elapsedMilliseconds(Clock::now() - start));
    }
    bench::printFigures("  persist (stamp, change, write)", persists, std::nullopt);
    bench::printFigures("reorder drop -> bar redrawn", redrawn, 50);
    bench.model.setManaging(false);
    testing::runMainLoopFor(200ms);
}

void measureEditorSave(Bench& bench)
{
    std::vector<double> shown;
    for (int round = 0; round < 6; ++round) {
        ServiceManager* manager = bench.openManager();
        if (!manager) break;
        testing::runMainLoopFor(100ms);
        int last = 0;
        while (manager->addList().get_row_at_index(last + 1)) ++last;
        manager->addList().get_row_at_index(last)->activate();
        testing::waitUntil([&] { return manager->editor() && manager->editor()->get_mapped(); }, 3s);
        ServiceEditor* editor = manager->editor();
        if (!editor) {
            std::printf("editor: the sheet did not open\n");
            break;
        }
        editor->nameEntry().set_text("Site " + std::to_string(round));
        editor->addressEntry().set_text("site" + std::to_string(round) + ".example");
        testing::runMainLoopFor(100ms);

        const auto count = bench.model.library().services.size();
        NextPaint paint(bench.window);
        const auto saved = Clock::now();
        paint.arm();
        // As the click's release does (activate() would add the button's press animation).
        g_signal_emit_by_name(editor->saveButton().gobj(), "clicked");
        const bool added = bench.model.library().services.size() == count + 1;
        if (!added) std::printf("editor: nothing added (save %s)\n", editor->saveButton().get_sensitive() ? "on" : "off");
        ServiceButton* button = nullptr;
        if (added) {
            const auto id = bench.model.library().services.back().id;
            testing::waitUntil([&] { return (button = bench.view->serviceBar().button(id)) && button->get_mapped(); },
                               3s);
        }
        auto painted = paint.wait();
        if (button && painted) shown.push_back(elapsedMilliseconds(*painted - saved));
        bench.model.setManaging(false);
        testing::runMainLoopFor(200ms);
    }
    bench::printFigures("editor 保存 -> new button drawn on the bar", shown, 50);
}

void measureWorkSet(Bench& bench, testing::LocalHttpServer& server)
{
    std::vector<double> firstPage;
    const auto services = bench.model.library().services;
    for (int round = 0; round < 4; ++round) {
        // Three of the six have live pages somewhere else.
        WorkSet set{"3F1C6A52-77B0-4C6E-9E43-0A9D6C1B2E7" + std::to_string(round), "Bench", {}};
        for (int i = 0; i < 6; ++i) {
            Service service = services[static_cast<std::size_t>(10 + i)];
            service.url = server.url("/page" + std::to_string(i) + "?set=" + std::to_string(round));
            set.services.push_back(service);
        }
        for (int i = 0; i < 3; ++i) bench.model.activate(services[static_cast<std::size_t>(10 + i)]);
        testing::waitUntil([&] {
            for (int i = 0; i < 3; ++i) {
                auto found = bench.model.sessions().find(services[static_cast<std::size_t>(10 + i)].id);
                if (found == bench.model.sessions().end() || found->second->loading()) return false;
            }
            return true;
        });
        bench.model.saveWorkSet(set);
        bench.model.setShowingWorkSets(true);
        testing::waitUntil([&] { return shownWindow("作業セット") != nullptr; }, 3s);
        auto* sheet = shownWindow("作業セット");
        auto* manager = sheet ? findWidget<WorkSetManager>(*sheet) : nullptr;
        testing::waitUntil([&] { return manager && !manager->rows().empty() && manager->rows().back().summary->get_mapped(); }, 3s);
        if (!manager || manager->rows().empty()) break;

        const auto& first = set.services.front();
        const auto clicked = Clock::now();
        g_signal_emit_by_name(manager->rows().back().summary->gobj(), "clicked");
        std::optional<Clock::time_point> loaded;
        testing::waitUntil([&] {
            auto found = bench.model.sessions().find(first.id);
            auto* pane = bench.view->workspace().primaryPane(first.id);
            if (found != bench.model.sessions().end() && !found->second->loading() &&
                found->second->currentURL() == first.url && pane && pane->get_mapped())
                loaded = Clock::now();
            return loaded.has_value();
        }, 10s);
        if (loaded) {
            NextPaint paint(bench.window);
            paint.arm();
            if (auto painted = paint.wait()) firstPage.push_back(elapsedMilliseconds(*painted - clicked));
        }
        testing::runMainLoopFor(300ms);
    }
    bench::printFigures("work set of 6 (3 live) click -> first page shown", firstPage, std::nullopt);
}

}  // namespace

int main()
{
    fakes::TemporaryFolder folder;
    bench::startProcess(folder);

    testing::LocalHttpServer server;
    for (int i = 0; i < 6; ++i) {
        server.serve("/page" + std::to_string(i), "<!doctype html><h1>page " + std::to_string(i) + "</h1>");
    }
    ServiceLibrary library;
    for (int i = 0; i < 100; ++i) {
        const std::string id = "service-" + std::to_string(i);
        library.services.push_back(Service{id, "Service " + std::to_string(i), "globe", server.url("/page" + std::to_string(i % 6)),
                                           LaunchMode::embedded, std::nullopt, {}});
    }
    JSONLibraryRepository().save(library);
    JSONWorkSetRepository().save({});
    {
        SettingsFile settings(SettingsFile::defaultPath());
        testing::markMigrationsDone(settings);
    }
    WebKitEngineFactory engines;
    {
        Bench bench(folder, engines);
        measureManager(bench);
        measureReorder(bench);
        measureEditorSave(bench);
        measureWorkSet(bench, server);
    }
    return 0;
}
