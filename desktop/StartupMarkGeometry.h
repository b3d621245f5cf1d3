#pragma once

#include "desktop/Geometry.h"
#include "desktop/StartupSequence.h"

namespace meridavolt::startup {

inline constexpr double tileSide = 116;
inline constexpr double tileCornerRadius = 22;
inline constexpr double tileLogoPadding = 12;
inline constexpr double flashingSymbolSize = 56;
inline constexpr double taglineHeight = 190;
inline constexpr double taglineLineSpacing = 6;
inline constexpr double taglineBlurRadius = 7;
inline constexpr const char* tagline = "探さない。\n迷わない。\n切り替える。";

// The tagline's type size grows with the width between 26 and 44 points.
double taglineFontSize(double width);
double taglineWidth(double width);
Point taglineCentre(Size size);

// The tile starts eight times its size and shrinks into place, unless motion is reduced.
double tileScale(const StartupMarkState& state, bool reduceMotion);
// The tile rises above the tagline while the tagline shows.
Point tileCentre(const StartupMarkState& state, Size size);

double taglineOpacity(const StartupMarkState& state);
double taglineBlur(const StartupMarkState& state, bool reduceMotion);

}  // namespace meridavolt::startup
