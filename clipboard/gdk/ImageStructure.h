#pragma once

#include <string_view>

namespace meridavolt {

// Checks of an image file's structure, made before GdkPixbuf's loaders see it,
// for files those loaders mishandle (logging critical errors as they go).

// Whether every frame of a GIF is a non-empty rectangle inside the image's
// canvas. Read the way the loader reads the file: bytes between blocks are
// skipped, and a file cut short is judged on the frames it holds.
bool gifFramesLieInsideTheCanvas(std::string_view gif);

// Whether a WebP file declares an animation. Animations are decoded by a
// separate path of the loader that fails on damaged files without a clean error.
bool isAnimatedWebP(std::string_view webp);

}  // namespace meridavolt
