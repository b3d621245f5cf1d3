#pragma once

#include <string_view>

namespace meridavolt {

// Checks of an image file's structure, made before GdkPixbuf's loaders see it,
// for files those loaders mishandle (logging critical errors as they go).

// Whether a GIF's canvas and every frame are non-empty rectangles with each
// frame inside the canvas, and the loader's reading of its blocks is the
// format's. Read the way the loader reads the file: bytes between blocks are
// skipped, and a file cut short is judged on what it holds.
bool gifIsSound(std::string_view gif);

// Whether a WebP file declares an animation. Animations are decoded by a
// separate path of the loader that fails on damaged files without a clean error.
bool isAnimatedWebP(std::string_view webp);

}  // namespace meridavolt
