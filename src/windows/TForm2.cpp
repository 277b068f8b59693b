#include "windows/TForm2.h"

#include "ui/DesignFont.h"

TForm2::TForm2(QWidget* parent) : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint) {
    setObjectName("Form2");
    setWindowTitle("Real size");
    setFont(designFont(11));
    resize(DesignClientSize);
    // Closing the viewer only hides it; the main window alone ends the program.
    setAttribute(Qt::WA_QuitOnClose, false);
}
