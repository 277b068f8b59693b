#include "windows/PictureOverlay.h"

#include <QPainter>

PictureOverlay::PictureOverlay(QWidget* parent) : QWidget(parent) {
    setObjectName("PictureOverlay");
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void PictureOverlay::setImage(const QImage& image, bool upsideDown) {
    image_ = image;
    upsideDown_ = upsideDown;
    update();
}

void PictureOverlay::paintEvent(QPaintEvent*) {
    if (!image_.isNull()) {
        // One picture pixel per screen pixel, also on a scaled screen, like the picture below.
        QPainter painter(this);
        const qreal ratio = devicePixelRatioF();
        painter.scale(1 / ratio, 1 / ratio);
        if (upsideDown_) {
            painter.translate(0, image_.height());
            painter.scale(1, -1);
        }
        painter.drawImage(0, 0, image_);
    }
}
