#include "app/view/ContentView.h"

namespace meridavolt {

ContentView::ContentView(AppModel& model) : workspace_(model)
{
    set_hexpand(true);
    set_vexpand(true);
    append(workspace_);
}

}  // namespace meridavolt
