#pragma once

#include "imaging/picture/TPicture.h"

#include <QImage>
#include <QObject>

class PictureOverlay;
class QLabel;
class Settings;
class TGraphic;
class TImage;

// Shows in the viewer what the recompression did. While the viewer has the focus, holding
// the space bar shows the loaded picture in place of the recompressed one (a flicker
// comparison) and the key D toggles the amplified difference of the two. Both are drawn
// over the viewer's picture control, so they sit where it sits and follow its dragging; a
// label in the window's corner names what is shown while it is not the recompressed one.
class ViewerComparison : public QObject {
    Q_OBJECT

public:
    enum class View { Recompressed, Original, Difference };

    ViewerComparison(QWidget& viewer, TImage& picture, Settings& settings);

    // Keeps a copy of the picture as loaded, to compare with the recompressed ones.
    void setOriginal(const TGraphic* loaded);
    // The picture control has been given another recompressed picture.
    void pictureReplaced();

    // What is on screen now: views that lack a picture show the recompressed one.
    View shown() const { return shown_; }
    QLabel* label() const { return label_; }
    PictureOverlay* overlay() const { return overlay_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool keyEvent(int key, bool pressed, bool autoRepeat);
    void reset();
    void refresh();
    View wanted() const;
    const QImage& originalImage();
    const QImage& differenceImage();

    QWidget& viewer_;
    TImage& picture_;
    Settings& settings_;
    PictureOverlay* overlay_;
    QLabel* label_;
    TPicture original_;
    QImage originalImage_;
    bool originalUpsideDown_ = false; // its first row is the picture's bottom row
    QImage differenceImage_;
    bool originalReady_ = false;
    bool differenceReady_ = false;
    bool holdingSpace_ = false;
    bool difference_ = false;
    View shown_ = View::Recompressed;
};
