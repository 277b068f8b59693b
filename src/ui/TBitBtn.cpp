#include "ui/TBitBtn.h"

TBitBtn::TBitBtn(const QString& objectName, QWidget* parent) : QPushButton(parent) {
    setObjectName(objectName);
}

void TBitBtn::setGlyph(const QPixmap& glyph) {
    glyph_ = glyph;
    setIcon(QIcon(glyph));
    setIconSize(glyph.size());
}
