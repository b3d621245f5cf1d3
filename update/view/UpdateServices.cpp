#include "update/view/UpdateServices.h"

#include "update/curl/CurlDistributionHTTP.h"
#include "platform/glib/MainLoopScheduler.h"
#include "update/RunningBuild.h"
#include "update/view/FileChooserSavePanel.h"
#include "update/view/FileManagerFileViewer.h"

namespace meridavolt {

std::unique_ptr<MacDistribution> makeMacDistribution()
{
    MacDistribution::Services services{
        std::make_shared<CurlDistributionHTTP>(MainLoopScheduler::shared()),
        std::make_shared<FileChooserSavePanel>(),
        std::make_shared<FileManagerFileViewer>(),
    };
    return std::make_unique<MacDistribution>(DistributionConfig::load(), runningBuildNumber(), std::move(services));
}

}  // namespace meridavolt
