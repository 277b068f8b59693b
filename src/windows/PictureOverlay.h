#pragma once

#include <QImage>
#include <QWidget>

// A picture drawn over another control at its top-left corner, pixel for pixel. The mouse
// goes through it to the control below, so dragging and double-clicks work as before.
class PictureOverlay : public QWidget {
    Q_OBJECT

public:
    explicit PictureOverlay(QWidget* parent);

    // `upsideDown`: the image's first row is the picture's bottom row, drawn mirrored.
    void setImage(const QImage& image, bool upsideDown = false);
    const QImage& image() const { return image_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage image_;
    bool upsideDown_ = false;
};
