#pragma once

#include <QFont>

namespace vesk3 {

// The windows' font: the platform's general sans-serif family at a character height given in pixels (11 for
// ordinary text; the main window's large captions use 21, 32 and 37), semi-condensed. The windows' layout
// was drawn for a narrow font; at full width the usual sans-serif faces run captions into their neighbours.
QFont windowFont(int pixelHeight);

} // namespace vesk3
