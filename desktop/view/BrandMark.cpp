#include "desktop/view/BrandMark.h"

#include "desktop/view/DesktopStyle.h"
#include "desktop/view/SwitchMark.h"

namespace meridavolt {

BrandMark::BrandMark()
{
    setAccessibleLabel(*this, "MERIDAVOLT");
    set_draw_func([](const Cairo::RefPtr<Cairo::Context>& context, int width, int height) {
        drawLogoTile(context, Rect{0, 0, double(width), double(height)}, 16, 9);
    });
}

}  // namespace meridavolt
