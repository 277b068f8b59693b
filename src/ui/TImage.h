#pragma once

#include "imaging/picture/TPicture.h"

class TBitmap;

#include <QImage>
#include <QWidget>

// A picture pane. It shows its own copy of a picture; the flags say how: centred, stretched
// to the pane, stretched keeping its proportions, sizing the pane to the picture, or leaving
// out the pixels of the picture's transparent colour. It reports the mouse to its window.
class TImage : public QWidget {
    Q_OBJECT

public:
    TImage(const QString& objectName, QWidget* parent);
    ~TImage() override;

    bool center() const { return center_; }
    bool stretch() const { return stretch_; }
    bool proportional() const { return proportional_; }
    bool autoSize() const { return autoSize_; }
    bool transparent() const { return transparent_; }
    void setCenter(bool on) { setFlag(center_, on); }
    void setStretch(bool on) { setFlag(stretch_, on); }
    void setProportional(bool on) { setFlag(proportional_, on); }
    void setAutoSize(bool on) { setFlag(autoSize_, on); }
    // The pixels of the colour of the picture's bottom-left pixel are left out.
    void setTransparent(bool on);
    // Real size counts the screen's pixels: one picture pixel per screen pixel also on a
    // screen scaled by 2, where a picture that is part of the window's design would be drawn
    // twice as large, like the rest of the window.
    void setScreenPixels(bool on) { setFlag(screenPixels_, on); }
    bool screenPixels() const { return screenPixels_; }

    // The pane keeps a copy of `graphic` (a JPEG picture decodes when first drawn); null
    // empties the pane.
    void setGraphic(const TGraphic* graphic);
    TPicture& picture() { return picture_; }

    // The size, in the pane's units, of a picture of `pictureSize` pixels at real size: the
    // same on an ordinary screen, half of it on a screen scaled by 2 when the pane counts the
    // screen's pixels.
    QSize shownSize(QSize pictureSize) const;

    // Where a picture of `pictureSize` lands in a pane of `paneSize`, by the flags.
    static QRect destinationRect(QSize pictureSize, QSize paneSize, bool stretch, bool proportional,
                                 bool center);

signals:
    void clicked();
    void doubleClicked();
    void mouseDown(Qt::MouseButton button, QPoint position);
    void mouseUp(Qt::MouseButton button, QPoint position);
    void mouseMove(QPoint position);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void setFlag(bool& flag, bool on);
    // Screen pixels per unit of the pane, for real size.
    qreal pixelRatio() const;
    void pictureChanged();
    // The picture's pixels, converted once per change of the picture.
    const QImage& shownImage();
    QImage drawingOf(const TBitmap& bitmap);

    TPicture picture_;
    QImage image_;
    bool imageReady_ = false;
    const void* pixels_ = nullptr; // the pixels image_ was drawn from
    bool upsideDown_ = false;      // image_'s first row is the picture's bottom row
    bool converting_ = false;

    bool center_ = false;
    bool stretch_ = false;
    bool proportional_ = false;
    bool autoSize_ = false;
    bool transparent_ = false;
    bool screenPixels_ = false;
};
