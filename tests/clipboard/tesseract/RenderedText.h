#pragma once

#include <cairo.h>
#include <pango/pangocairo.h>

#include <string>

namespace meridavolt::testing {

// A PNG of black lines of text on white, as a screenshot of them would be,
// or on a transparent background, as a copied diagram or logo can be.
inline std::string renderedTextPNG(const std::string& markup, int pixelSize, int width, int height,
                                   bool transparent = false)
{
    cairo_surface_t* surface =
        cairo_image_surface_create(transparent ? CAIRO_FORMAT_ARGB32 : CAIRO_FORMAT_RGB24, width, height);
    cairo_t* cr = cairo_create(surface);
    if (!transparent) {
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_paint(cr);
    }
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_move_to(cr, pixelSize, pixelSize);
    PangoLayout* layout = pango_cairo_create_layout(cr);
    PangoFontDescription* font = pango_font_description_from_string("Noto Sans CJK JP");
    pango_font_description_set_absolute_size(font, pixelSize * PANGO_SCALE);
    pango_layout_set_font_description(layout, font);
    pango_layout_set_text(layout, markup.c_str(), -1);
    pango_cairo_show_layout(cr, layout);
    pango_font_description_free(font);
    g_object_unref(layout);
    cairo_destroy(cr);

    std::string png;
    cairo_surface_write_to_png_stream(
        surface,
        [](void* closure, const unsigned char* data, unsigned int length) {
            static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
            return CAIRO_STATUS_SUCCESS;
        },
        &png);
    cairo_surface_destroy(surface);
    return png;
}

}  // namespace meridavolt::testing
