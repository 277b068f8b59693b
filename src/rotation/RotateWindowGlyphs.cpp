#include "rotation/RotateWindowGlyphs.h"

#include <QPainter>
#include <QPainterPath>

namespace {

QPixmap canvas() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

} // namespace

QPixmap RotateWindowGlyphs::rotate() {
    QPixmap pixmap = canvas();
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor blue(30, 90, 200);
    painter.setPen(QPen(blue, 2.0, Qt::SolidLine, Qt::RoundCap));
    // Three quarters of a circle, open at the top right, turning clockwise.
    painter.drawArc(QRectF(2.5, 3.5, 10, 10), 45 * 16, -270 * 16);
    painter.setPen(Qt::NoPen);
    painter.setBrush(blue);
    painter.drawPolygon(QPolygonF({QPointF(9.0, 1.0), QPointF(14.5, 3.5), QPointF(9.5, 7.5)}));
    return pixmap;
}

QPixmap RotateWindowGlyphs::ok() {
    QPixmap pixmap = canvas();
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(20, 150, 40), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath tick;
    tick.moveTo(2.5, 8.5);
    tick.lineTo(6.5, 12.5);
    tick.lineTo(13.5, 3.5);
    painter.drawPath(tick);
    return pixmap;
}
