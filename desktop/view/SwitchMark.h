#pragma once

#include "desktop/Geometry.h"

#include <cairomm/context.h>

namespace meridavolt {

// Adds the logo's outline, scaled to `rect`, to the context's path; the caller fills it.
void appendSwitchMark(const Cairo::RefPtr<Cairo::Context>& context, Rect rect);

// Fills a rounded square in black with the white logo inside, `padding` points in.
void drawLogoTile(const Cairo::RefPtr<Cairo::Context>& context, Rect tile, double cornerRadius, double padding,
                  bool withLogo = true);

void appendRoundedRectangle(const Cairo::RefPtr<Cairo::Context>& context, Rect rect, double radius);

}  // namespace meridavolt
