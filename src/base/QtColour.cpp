#include "base/QtColour.h"

namespace zelsim {

QColor QtColour(Colour colour, int alpha) {
    return QColor(colour.r, colour.g, colour.b, alpha);
}

}  // namespace zelsim
