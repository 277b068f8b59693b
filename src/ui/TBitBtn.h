#pragma once

#include <QPushButton>

// A push button with a small picture beside its caption, or alone.
class TBitBtn : public QPushButton {
    Q_OBJECT

public:
    TBitBtn(const QString& objectName, QWidget* parent);

    void setGlyph(const QPixmap& glyph);
    QPixmap glyph() const { return glyph_; }

private:
    QPixmap glyph_;
};
