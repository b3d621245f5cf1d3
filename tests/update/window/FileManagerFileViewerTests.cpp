#include "fakes/EnvironmentRecordingApplication.h"
#include "fakes/TemporaryFolder.h"
#include "platform/gdk/DisplayGLProbe.h"
#include "support/MainLoopWait.h"
#include "update/view/FileManagerFileViewer.h"

#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <cstdlib>

namespace meridavolt {
namespace {

// Without a file manager on the bus the folder of the download opens with
// the desktop's folder handler, which gets the environment the user started
// us with. GIO reads the desktop's folders on first use: this test sets them
// first in a process of its own, as ctest runs it.
TEST(FileManagerFileViewer, WithoutAFileManagerTheFolderOpensWithTheUserEnvironment)
{
    fakes::TemporaryFolder home;
    ::setenv("XDG_DATA_HOME", (home / "data").c_str(), 1);
    ::setenv("XDG_DATA_DIRS", (home / "system").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
    ::setenv("XDG_CONFIG_DIRS", (home / "system").c_str(), 1);
    ::setenv("XDG_CURRENT_DESKTOP", "", 1);
    ::setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + (home / "no-bus").string()).c_str(), 1);
    ::setenv("GTK_A11Y", "none", 1);
    ::setenv("GDK_DEBUG", "nograbs", 1);
    ::setenv("WEBKIT_DISABLE_DMABUF_RENDERER", "0", 1);
    ASSERT_EQ(fitRendererToDisplay().gdkDebug, "nograbs,gl-disable") << "the display has a GPU or GSK_RENDERER is set";
    gtk_init();
    fakes::EnvironmentRecordingApplication folders(home / "data", home / "config", "inode/directory");
    const auto download = home / "Downloads/MERIDAVOLT-2.1.0.dmg";
    fakes::writeBytes(download, "image");

    FileManagerFileViewer().revealFile(download);
    ASSERT_TRUE(testing::waitUntil([&] { return folders.started(); }));
    EXPECT_EQ(fakes::drawingVariables(folders.environment()),
              (std::map<std::string, std::string>{{"GDK_DEBUG", "nograbs"}, {"WEBKIT_DISABLE_DMABUF_RENDERER", "0"}}));
}

}  // namespace
}  // namespace meridavolt
