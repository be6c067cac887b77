#pragma once

#include <cmath>

namespace zelvar {

// Window placements, column widths and row heights are kept in twips
// (1/1440 inch) so that they mean the same size on screens of any density.
inline constexpr double TwipsPerInch = 1440.0;

inline int twipsToPixels(double twips, double dotsPerInch)
{
    return static_cast<int>(std::lround(twips * dotsPerInch / TwipsPerInch));
}

inline double pixelsToTwips(int pixels, double dotsPerInch)
{
    return dotsPerInch > 0 ? std::round(pixels * TwipsPerInch / dotsPerInch) : 0.0;
}

} // namespace zelvar
