#include "platform/desktop/QtScreenSize.h"

#include <QGuiApplication>
#include <QScreen>

QSize QtScreenSize::size() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize(1024, 768);
}

int QtScreenSize::colourDepth() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->depth() : 24;
}
