#include "app/view/MacRootView.h"

#include "update/view/UpdateView.h"

namespace meridavolt {

MacRootView::MacRootView(MacAppHost& host) : host_(host)
{
    set_title("MERIDAVOLT");
    set_default_size(defaultWidth, defaultHeight);
    set_hide_on_close(true);
    set_show_menubar(true);
    root_.set_size_request(minimumWidth, minimumHeight);
    root_.set_hexpand(true);
    root_.set_vexpand(true);
    set_child(root_);

    modelChanged_ = host_.modelChanged.connect([this] { showContent(); });
    signal_map().connect([this] { host_.start(); });
    if (host_.model()) showContent();
}

MacRootView::~MacRootView() = default;

void MacRootView::showContent()
{
    if (content_ || !host_.model()) return;
    content_ = std::make_unique<ContentView>(*host_.model());
    root_.append(*content_);
}

void MacRootView::presentUpdates()
{
    present();
    presentUpdateSheet(*this, host_.distribution());
}

}  // namespace meridavolt
