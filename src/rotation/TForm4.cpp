#include "rotation/TForm4.h"

#include "ui/ApplicationTitle.h"
#include "ui/DesignFont.h"

TForm4::TForm4(QWidget* parent) : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint) {
    setObjectName("Form4");
    setWindowTitle(ApplicationTitle);
    setFont(designFont(11));
    resize(ClientSize);
    setAttribute(Qt::WA_QuitOnClose, false);
}
