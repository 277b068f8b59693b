#include "windows/PictureOverlay.h"

#include <QPainter>

PictureOverlay::PictureOverlay(QWidget* parent) : QWidget(parent) {
    setObjectName("PictureOverlay");
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void PictureOverlay::setImage(const QImage& image) {
    image_ = image;
    update();
}

void PictureOverlay::paintEvent(QPaintEvent*) {
    if (!image_.isNull()) {
        QPainter(this).drawImage(0, 0, image_);
    }
}
