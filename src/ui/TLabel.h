#pragma once

#include <QLabel>

// A one-line text label. With auto-size on (the default) it is exactly as large as its text,
// leading and trailing blanks included, and keeps its top-left corner when the text changes.
class TLabel : public QLabel {
    Q_OBJECT

public:
    TLabel(const QString& objectName, QWidget* parent);

    void setCaption(const QString& caption);
    QString caption() const { return text(); }

    void setAutoSize(bool autoSize);
    bool autoSize() const { return autoSize_; }

    void setFontColor(const QColor& color);
    QColor fontColor() const;
    // An opaque background in `color`; without one the label shows its parent's background.
    void setColor(const QColor& color);
    QColor color() const;

protected:
    void changeEvent(QEvent* event) override;

private:
    void fitToText();

    bool autoSize_ = true;
};
