#include "windows/TForm3.h"

#include "ui/DesignFont.h"

TForm3::TForm3(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName("Form3");
    setFont(designFont(11));
    resize(ClientSize);
    setAttribute(Qt::WA_QuitOnClose, false);
}
