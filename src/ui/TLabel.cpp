#include "ui/TLabel.h"

#include "ui/DesignFont.h"

#include <QEvent>

TLabel::TLabel(const QString& objectName, QWidget* parent) : QLabel(parent) {
    setObjectName(objectName);
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setMargin(0);
    setIndent(0);
}

void TLabel::setCaption(const QString& caption) {
    setText(caption);
    fitToText();
}

void TLabel::setAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    fitToText();
}

void TLabel::setFontColor(const QColor& color) {
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, color);
    setPalette(colours);
}

QColor TLabel::fontColor() const {
    return palette().color(QPalette::WindowText);
}

void TLabel::setColor(const QColor& color) {
    QPalette colours = palette();
    colours.setColor(QPalette::Window, color);
    setPalette(colours);
    setAutoFillBackground(true);
}

QColor TLabel::color() const {
    return palette().color(QPalette::Window);
}

void TLabel::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        fitToText();
    }
}

void TLabel::fitToText() {
    if (!autoSize_) {
        return;
    }
    // The advance counts trailing blanks, which the padded readouts rely on.
    const QFontMetrics metrics(font());
    resize(metrics.horizontalAdvance(text()), designLineHeight(font()));
}
