// The check runs before every start, so it is cheap on purpose. A GPU is
// reached through a DRM render node: without one OpenGL can only be Mesa's
// software rasteriser, and listing /dev/dri costs microseconds. With a node,
// the display may still not lead to it (Xvfb, VNC and remote desktops offer no
// direct rendering), so Mesa's EGL is asked which driver it picks for this X
// display (EGL_MESA_query_driver). That loads the driver but makes no GL
// context and compiles no shader; a GL renderer string would need both.
// EGL is opened with dlopen only then, so machines without a GPU never load it,
// and only in a short-lived child process: once Mesa's driver is loaded, its
// LLVM stays mapped even after eglTerminate and dlclose, and on a software
// display nothing in this process would use it again. (With a GPU the toolkit
// then loads the driver once more itself.)
#include "platform/gdk/DisplayGLProbe.h"

#include "platform/UserEnvironment.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <X11/Xlib.h>
#include <dlfcn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace meridavolt {

namespace {

bool hasRenderNode()
{
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/dev/dri", error)) {
        if (entry.path().filename().string().rfind("renderD", 0) == 0) return true;
    }
    return false;
}

// Mesa's names for llvmpipe and softpipe.
bool isSoftwareDriver(const char* name)
{
    return std::strcmp(name, "swrast") == 0 || std::strcmp(name, "kms_swrast") == 0;
}

// How the child process reports its answer.
constexpr int softwareExit = 10;
constexpr int hardwareExit = 11;

struct EGLFunctions {
    PFNEGLGETPROCADDRESSPROC getProcAddress = nullptr;
    PFNEGLGETPLATFORMDISPLAYPROC getPlatformDisplay = nullptr;
    PFNEGLINITIALIZEPROC initialize = nullptr;
    PFNEGLTERMINATEPROC terminate = nullptr;
    PFNEGLGETDISPLAYDRIVERNAMEPROC driverName = nullptr;
};

// Hardware when the driver cannot be told, so that an unknown machine keeps
// the toolkit's defaults.
DisplayGL askEGLForDriver()
{
    void* library = dlopen("libEGL.so.1", RTLD_LAZY | RTLD_LOCAL);
    if (!library) return DisplayGL::hardware;
    EGLFunctions egl;
    egl.getProcAddress = reinterpret_cast<PFNEGLGETPROCADDRESSPROC>(dlsym(library, "eglGetProcAddress"));
    if (egl.getProcAddress) {
        egl.getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYPROC>(egl.getProcAddress("eglGetPlatformDisplay"));
        egl.initialize = reinterpret_cast<PFNEGLINITIALIZEPROC>(egl.getProcAddress("eglInitialize"));
        egl.terminate = reinterpret_cast<PFNEGLTERMINATEPROC>(egl.getProcAddress("eglTerminate"));
        egl.driverName = reinterpret_cast<PFNEGLGETDISPLAYDRIVERNAMEPROC>(egl.getProcAddress("eglGetDisplayDriverName"));
    }
    DisplayGL found = DisplayGL::hardware;
    Display* x = XOpenDisplay(nullptr);
    if (x && egl.getPlatformDisplay && egl.initialize && egl.terminate && egl.driverName) {
        EGLDisplay display = egl.getPlatformDisplay(EGL_PLATFORM_X11_KHR, x, nullptr);
        if (display != EGL_NO_DISPLAY && egl.initialize(display, nullptr, nullptr)) {
            // Drivers other than Mesa's (NVIDIA's) lack the query: they are hardware.
            const char* name = egl.driverName(display);
            if (name && isSoftwareDriver(name)) found = DisplayGL::software;
            egl.terminate(display);
        }
    }
    if (x) XCloseDisplay(x);
    return found;
}

}  // namespace

DisplayGL driverOfXDisplay()
{
    // Called before the toolkit starts any thread, so forking is safe.
    const pid_t child = fork();
    if (child < 0) return DisplayGL::hardware;
    if (child == 0) _exit(askEGLForDriver() == DisplayGL::software ? softwareExit : hardwareExit);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    const bool software = WIFEXITED(status) && WEXITSTATUS(status) == softwareExit;
    return software ? DisplayGL::software : DisplayGL::hardware;
}

namespace {

std::optional<std::string> variable(const char* name)
{
    const char* value = std::getenv(name);
    if (!value) return std::nullopt;
    return std::string(value);
}

}  // namespace

DisplayGL probeDisplayGL()
{
    if (!hasRenderNode()) return DisplayGL::software;
    // Under a Wayland session without XWayland there is no X display to ask.
    if (!std::getenv("DISPLAY")) return DisplayGL::hardware;
    return driverOfXDisplay();
}

RendererEnvironment rendererEnvironment()
{
    return RendererEnvironment{variable("GSK_RENDERER"), variable("WEBKIT_DISABLE_COMPOSITING_MODE"),
                               variable("GDK_DEBUG"), variable("WEBKIT_DISABLE_DMABUF_RENDERER"),
                               variable("WEBKIT_WEB_RENDER_DEVICE_FILE")};
}

RendererChoice fitRendererToDisplay()
{
    RendererChoice choice = chooseRenderer(probeDisplayGL(), rendererEnvironment());
    // Remembered, so that the programs we open get the user's values back.
    const auto name = [](const char* variable, const std::optional<std::string>& value) {
        if (value) processUserEnvironment().replace(variable, *value);
    };
    name("GSK_RENDERER", choice.gskRenderer);
    name("GDK_DEBUG", choice.gdkDebug);
    name("WEBKIT_DISABLE_DMABUF_RENDERER", choice.webkitDisableDMABuf);
    name("WEBKIT_WEB_RENDER_DEVICE_FILE", choice.webkitRenderDevice);
    return choice;
}

}  // namespace meridavolt
