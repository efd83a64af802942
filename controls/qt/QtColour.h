// Conversion between the program's 0x00BBGGRR colours and QColor.
#pragma once

#include "platform/ColourRef.h"

#include <QColor>

inline QColor ToQColor(ColourRef colour) {
    return QColor(ColourRefRed(colour), ColourRefGreen(colour), ColourRefBlue(colour));
}

inline ColourRef ToColourRef(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return MakeColourRef(std::uint8_t(rgb.red()), std::uint8_t(rgb.green()),
                         std::uint8_t(rgb.blue()));
}
