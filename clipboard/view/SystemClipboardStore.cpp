#include "clipboard/view/SystemClipboardStore.h"

#include "clipboard/view/MemoryDragAndDrop.h"
#include "platform/glib/MainLoopScheduler.h"
#include "clipboard/gdk/GdkPasteboard.h"
#include "clipboard/gdk/GdkPixbufImageCodec.h"
#include "clipboard/tesseract/TesseractTextRecognizer.h"

#include <gdk/gdk.h>

#include <stdexcept>

namespace meridavolt {

ClipboardServices systemClipboardServices(Settings& settings)
{
    GdkDisplay* display = gdk_display_get_default();
    if (!display) throw std::runtime_error("no display");
    return ClipboardServices{
        std::make_shared<GdkPasteboard>(display),
        MainLoopScheduler::shared(),
        settings,
        SystemClock::shared(),
        std::make_shared<GdkPixbufImageCodec>(),
        std::make_shared<TesseractTextRecognizer>(MainLoopScheduler::shared()),
        std::make_shared<ThreadWorker>(),
    };
}

std::unique_ptr<ClipboardStore> makeSystemClipboardStore(Settings& settings,
                                                         std::optional<std::filesystem::path> pinsURL, bool monitor)
{
    // What earlier runs left for receivers of dragged images goes at start.
    clearDraggedImages();
    return std::make_unique<ClipboardStore>(systemClipboardServices(settings), std::move(pinsURL), monitor);
}

}  // namespace meridavolt
