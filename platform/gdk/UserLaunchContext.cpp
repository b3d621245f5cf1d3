#include "platform/gdk/UserLaunchContext.h"

#include "platform/UserEnvironment.h"

#include <gdk/gdk.h>

namespace meridavolt {

GAppLaunchContext* newUserLaunchContext()
{
    GdkDisplay* display = gdk_display_get_default();
    GAppLaunchContext* context = display ? G_APP_LAUNCH_CONTEXT(gdk_display_get_app_launch_context(display))
                                         : g_app_launch_context_new();
    for (const auto& [name, value] : processUserEnvironment().replaced()) {
        if (value) {
            g_app_launch_context_setenv(context, name.c_str(), value->c_str());
        } else {
            g_app_launch_context_unsetenv(context, name.c_str());
        }
    }
    return context;
}

}  // namespace meridavolt
