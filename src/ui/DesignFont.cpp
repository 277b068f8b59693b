#include "ui/DesignFont.h"

#include <QStringList>

QFont designFont(int pixelSize, bool bold) {
    QFont font;
    font.setFamilies({"Liberation Sans", "Arimo", "Nimbus Sans", "DejaVu Sans"});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}
