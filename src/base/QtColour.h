#pragma once
#include <QColor>

#include "base/Colour.h"

namespace zelsim {

// A colour as the windows draw it; `alpha` only for the artwork's glows and
// shadows.
QColor QtColour(Colour colour, int alpha = 255);

}  // namespace zelsim
