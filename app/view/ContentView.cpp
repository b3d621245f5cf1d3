#include "app/view/ContentView.h"

#include "editors/view/ServiceManager.h"
#include "editors/view/WorkSetManager.h"

namespace meridavolt {

ContentView::ContentView(AppModel& model) : workspace_(model)
{
    set_hexpand(true);
    set_vexpand(true);
    append(workspace_);
    workspace_.setServiceManagerSheet([&model] { return std::make_unique<ServiceManager>(model); });
    workspace_.setWorkSetSheet([&model] { return std::make_unique<WorkSetManager>(model); });
}

}  // namespace meridavolt
