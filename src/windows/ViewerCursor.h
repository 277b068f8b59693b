#pragma once

#include <QCursor>

// The viewer's open-hand cursor, built into the program, with its hot spot at the top-left.
class ViewerCursor {
public:
    static QCursor openHand();
};
