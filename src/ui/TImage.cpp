#include "ui/TImage.h"

#include <QMouseEvent>

TImage::TImage(const QString& objectName, QWidget* parent) : QWidget(parent) {
    setObjectName(objectName);
    // Moves are reported with no button held too, as the viewer's drag needs the last one.
    setMouseTracking(true);
}

void TImage::setFlag(bool& flag, bool on) {
    if (flag != on) {
        flag = on;
        update();
    }
}

void TImage::mousePressEvent(QMouseEvent* event) {
    emit mouseDown(event->button(), event->position().toPoint());
}

void TImage::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint position = event->position().toPoint();
    emit mouseUp(event->button(), position);
    // A click is a press and a release on the pane.
    if (rect().contains(position)) {
        emit clicked();
    }
}

void TImage::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMove(event->position().toPoint());
}

void TImage::mouseDoubleClickEvent(QMouseEvent*) {
    emit doubleClicked();
}
