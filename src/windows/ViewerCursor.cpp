#include "windows/ViewerCursor.h"

#include <QPixmap>

QCursor ViewerCursor::openHand() {
    const QPixmap hand(":/cursOru1.xpm");
    return QCursor(hand, 0, 0);
}
