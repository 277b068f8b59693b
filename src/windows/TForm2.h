#pragma once

#include <QPoint>
#include <QWidget>

class ScreenSize;
class Settings;
class TGraphic;
class TImage;
class ViewerComparison;

// The full-size viewer: the recompressed picture pixel for pixel, panned by dragging. It is
// created hidden, shown and hidden any number of times, and holds a copy of the latest
// picture it was given.
class TForm2 : public QWidget {
    Q_OBJECT

public:
    TForm2(Settings& settings, ScreenSize& screen, QWidget* parent = nullptr);

    static constexpr QSize DesignClientSize{793, 565};
    static constexpr const char* DesignCaption = "Real size";

    TImage* Image4 = nullptr;
    // The loaded picture beside the recompressed one: flicker and difference views.
    ViewerComparison* Comparison = nullptr;

    // Sizes the window to its picture plus the frame allowance, within the screen, with its
    // left edge on the screen.
    void fitToPicture();

    // Mouse handlers of the picture.
    void Image4MouseDown();
    void Image4MouseUp();
    void Image4MouseMove(QPoint position);
    void Image4DblClick();

    bool dragging() const { return dragging_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QSize frameAllowance() const;

    Settings& settings_;
    ScreenSize& screen_;
    bool dragging_ = false;
    QPoint lastPosition_;
};
