#pragma once

#include <QWidget>

// A picture pane. The flags say how a picture is to be drawn in it: centred, stretched to
// the pane, stretched keeping its proportions, sizing the pane to the picture, or leaving
// out the pixels of the picture's transparent colour. It reports the mouse to its window.
class TImage : public QWidget {
    Q_OBJECT

public:
    TImage(const QString& objectName, QWidget* parent);

    bool center() const { return center_; }
    bool stretch() const { return stretch_; }
    bool proportional() const { return proportional_; }
    bool autoSize() const { return autoSize_; }
    bool transparent() const { return transparent_; }
    void setCenter(bool on) { setFlag(center_, on); }
    void setStretch(bool on) { setFlag(stretch_, on); }
    void setProportional(bool on) { setFlag(proportional_, on); }
    void setAutoSize(bool on) { setFlag(autoSize_, on); }
    void setTransparent(bool on) { setFlag(transparent_, on); }

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

private:
    void setFlag(bool& flag, bool on);

    bool center_ = false;
    bool stretch_ = false;
    bool proportional_ = false;
    bool autoSize_ = false;
    bool transparent_ = false;
};
