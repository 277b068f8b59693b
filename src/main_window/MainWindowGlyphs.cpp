#include "main_window/MainWindowGlyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <functional>

namespace {

QPixmap drawn(int width, int height, const std::function<void(QPainter&)>& draw) {
    QPixmap pixmap(width, height);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    return pixmap;
}

QPixmap arrow(bool up) {
    return drawn(18, 18, [up](QPainter& p) {
        QPolygonF head;
        head << QPointF(9, up ? 2 : 16) << QPointF(3, up ? 9 : 9) << QPointF(15, 9);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 160));
        p.drawPolygon(head);
        p.drawRect(up ? QRectF(7, 9, 4, 7) : QRectF(7, 2, 4, 7));
    });
}

QPixmap frame(QRectF place) {
    return drawn(18, 18, [place](QPainter& p) {
        p.setPen(QPen(Qt::gray, 1));
        p.drawRect(QRectF(0.5, 0.5, 17, 17));
        p.setPen(QPen(QColor(220, 0, 0), 2));
        p.drawRect(place);
    });
}

QPixmap monitor() {
    return drawn(18, 18, [](QPainter& p) {
        p.setPen(QPen(QColor(60, 60, 60), 1));
        p.setBrush(QColor(90, 160, 230));
        p.drawRect(QRectF(1.5, 2.5, 15, 10));
        p.setBrush(QColor(60, 60, 60));
        p.drawRect(QRectF(7, 13, 4, 2));
        p.drawRect(QRectF(4, 15, 10, 1.5));
    });
}

QPixmap eye() {
    return drawn(18, 18, [](QPainter& p) {
        QPainterPath lids;
        lids.moveTo(1, 9);
        lids.quadTo(9, 1, 17, 9);
        lids.quadTo(9, 17, 1, 9);
        p.setPen(QPen(Qt::black, 1.2));
        p.setBrush(Qt::white);
        p.drawPath(lids);
        p.setBrush(QColor(40, 110, 200));
        p.drawEllipse(QPointF(9, 9), 3.2, 3.2);
        p.setBrush(Qt::black);
        p.drawEllipse(QPointF(9, 9), 1.3, 1.3);
    });
}

void landscape(QPainter& p, QRectF area) {
    p.setPen(QPen(QColor(90, 60, 20), 1));
    p.setBrush(QColor(150, 210, 255));
    p.drawRect(area);
    QPolygonF hill;
    hill << area.bottomLeft() << QPointF(area.left() + area.width() * 0.4, area.center().y())
         << QPointF(area.left() + area.width() * 0.7, area.bottom() - area.height() * 0.2)
         << area.bottomRight();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 150, 60));
    p.drawPolygon(hill);
    p.setBrush(QColor(255, 200, 0));
    p.drawEllipse(QPointF(area.right() - area.width() * 0.25, area.top() + area.height() * 0.3),
                  area.width() * 0.1, area.width() * 0.1);
}

} // namespace

QPixmap MainWindowGlyphs::load() {
    return drawn(18, 18, [](QPainter& p) {
        p.setPen(QPen(QColor(120, 90, 0), 1));
        p.setBrush(QColor(240, 200, 60));
        p.drawRect(QRectF(1.5, 4.5, 14, 11));
        p.setBrush(QColor(255, 225, 110));
        QPolygonF flap;
        flap << QPointF(4, 8.5) << QPointF(17, 8.5) << QPointF(14.5, 15.5) << QPointF(1.5, 15.5);
        p.drawPolygon(flap);
    });
}

QPixmap MainWindowGlyphs::save() {
    return drawn(18, 18, [](QPainter& p) {
        p.setPen(QPen(QColor(20, 30, 90), 1));
        p.setBrush(QColor(50, 80, 170));
        p.drawRect(QRectF(2.5, 2.5, 13, 13));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(5, 2.5, 8, 5));
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(QRectF(5, 10, 8, 5.5));
    });
}

QPixmap MainWindowGlyphs::rotate() {
    return drawn(18, 18, [](QPainter& p) {
        p.setPen(QPen(QColor(0, 120, 0), 2.2));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(3, 3, 12, 12), 90 * 16, -270 * 16);
        QPolygonF head;
        head << QPointF(9, 0.5) << QPointF(13.5, 3) << QPointF(9, 5.5);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 120, 0));
        p.drawPolygon(head);
    });
}

QPixmap MainWindowGlyphs::help() {
    return drawn(18, 18, [](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 90, 200));
        p.drawEllipse(QRectF(1, 1, 16, 16));
        QFont font("Liberation Sans");
        font.setPixelSize(13);
        font.setBold(true);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(QRectF(1, 1, 16, 16), Qt::AlignCenter, "?");
    });
}

QPixmap MainWindowGlyphs::frenchFlag() {
    return drawn(15, 12, [](QPainter& p) {
        p.fillRect(0, 0, 5, 12, QColor(0, 35, 149));
        p.fillRect(5, 0, 5, 12, Qt::white);
        p.fillRect(10, 0, 5, 12, QColor(237, 41, 57));
    });
}

QPixmap MainWindowGlyphs::britishFlag() {
    return drawn(18, 12, [](QPainter& p) {
        const QColor red(200, 16, 46);
        p.fillRect(0, 0, 18, 12, QColor(1, 33, 105));
        p.setPen(QPen(Qt::white, 3));
        p.drawLine(0, 0, 18, 12);
        p.drawLine(0, 12, 18, 0);
        p.setPen(QPen(red, 1));
        p.drawLine(0, 0, 18, 12);
        p.drawLine(0, 12, 18, 0);
        p.fillRect(7, 0, 4, 12, Qt::white);
        p.fillRect(0, 4, 18, 4, Qt::white);
        p.fillRect(8, 0, 2, 12, red);
        p.fillRect(0, 5, 18, 2, red);
    });
}

std::vector<QPixmap> MainWindowGlyphs::imageList() {
    const QPixmap picture =
        drawn(18, 18, [](QPainter& p) { landscape(p, QRectF(1.5, 3.5, 15, 11)); });
    return {arrow(true),
            arrow(false),
            frame(QRectF(2, 2, 7, 6)),
            frame(QRectF(5.5, 6, 7, 6)),
            monitor(),
            eye(),
            picture};
}

QPixmap MainWindowGlyphs::windowIcon() {
    // 32 x 32 in 16 colours, drawn by resources/tools/make_help_art.py.
    return QPixmap(":/trevano.png");
}
