#pragma once

#include <QPixmap>

// The pictures on the rotate-and-save window's buttons.
class RotateWindowGlyphs {
public:
    // A clockwise quarter-turn arrow.
    static QPixmap rotate();
    // A green tick.
    static QPixmap ok();
};
