#include "ui/DesignFont.h"

#include <QFontMetrics>
#include <QStringList>

QFont designFont(int pixelSize, bool bold) {
    QFont font;
    font.setFamilies({"Liberation Sans", "Arimo", "Nimbus Sans", "DejaVu Sans"});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

int designLineHeight(const QFont& font) {
    if (font.pixelSize() <= 0) {
        return QFontMetrics(font).height();
    }
    // A line is its font height and a fifth more for the descenders, truncated.
    return font.pixelSize() * 16 / 13;
}
