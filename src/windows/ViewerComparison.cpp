#include "windows/ViewerComparison.h"

#include "core/Exception.h"
#include "imaging/bmp/TBitmap.h"
#include "settings/Settings.h"
#include "settings/Texts.h"
#include "ui/AmplifiedDifference.h"
#include "ui/BitmapImage.h"
#include "ui/DesignFont.h"
#include "ui/TImage.h"
#include "windows/PictureOverlay.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>

namespace {

// The pixels a picture control would draw; nothing for a missing or damaged picture.
const TBitmap* drawnBitmap(TGraphic* graphic) {
    try {
        return graphic ? graphic->drawingBitmap() : nullptr;
    } catch (const Exception&) {
        return nullptr; // the operation that made the picture has reported it
    }
}

} // namespace

ViewerComparison::ViewerComparison(QWidget& viewer, TImage& picture, Settings& settings)
    : QObject(&viewer), viewer_(viewer), picture_(picture), settings_(settings),
      overlay_(new PictureOverlay(&picture)), label_(new QLabel(&viewer)) {
    label_->setObjectName("ComparisonLabel");
    label_->setFont(designFont(13, true));
    label_->setStyleSheet("QLabel { background: black; color: yellow; padding: 1px 4px; }");
    label_->move(4, 4);
    label_->hide();
    viewer_.installEventFilter(this);
}

void ViewerComparison::setOriginal(const TGraphic* loaded) {
    // The view of the old picture's rows goes before those rows can.
    originalImage_ = QImage();
    overlay_->setImage(QImage());
    original_.assign(loaded);
    originalReady_ = false;
    differenceReady_ = false;
    refresh();
}

void ViewerComparison::pictureReplaced() {
    differenceReady_ = false;
    refresh();
}

bool ViewerComparison::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &viewer_) {
        return false;
    }
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const auto* key = static_cast<QKeyEvent*>(event);
        return keyEvent(key->key(), event->type() == QEvent::KeyPress, key->isAutoRepeat());
    }
    case QEvent::WindowDeactivate:
        // The release of a key held while the focus left never arrives here.
        holdingSpace_ = false;
        refresh();
        break;
    case QEvent::Show:
    case QEvent::Hide:
        reset(); // each showing starts from the recompressed picture
        break;
    default:
        break;
    }
    return false;
}

bool ViewerComparison::keyEvent(int key, bool pressed, bool autoRepeat) {
    if (key != Qt::Key_Space && key != Qt::Key_D) {
        return false;
    }
    if (!autoRepeat) {
        if (key == Qt::Key_Space) {
            holdingSpace_ = pressed;
        } else if (pressed) {
            difference_ = !difference_;
        }
        refresh();
    }
    return true;
}

void ViewerComparison::reset() {
    holdingSpace_ = false;
    difference_ = false;
    refresh();
}

ViewerComparison::View ViewerComparison::wanted() const {
    if (holdingSpace_) {
        return View::Original;
    }
    return difference_ ? View::Difference : View::Recompressed;
}

void ViewerComparison::refresh() {
    if (!difference_) {
        // As large as the picture: kept only while the difference is asked for.
        differenceImage_ = QImage();
        differenceReady_ = false;
    }
    const View view = wanted();
    const QImage none;
    const QImage& image = view == View::Original     ? originalImage()
                          : view == View::Difference ? differenceImage()
                                                     : none;
    shown_ = image.isNull() ? View::Recompressed : view;
    overlay_->setVisible(shown_ != View::Recompressed);
    label_->setVisible(shown_ != View::Recompressed);
    if (shown_ == View::Recompressed) {
        overlay_->setImage(QImage()); // nothing of a large picture held by a hidden overlay
        return;
    }
    overlay_->setImage(image, view == View::Original && originalUpsideDown_);
    overlay_->setGeometry(0, 0, picture_.width(), picture_.height());
    const LanguageText& text =
        shown_ == View::Original ? Texts::ViewerShowsOriginal : Texts::ViewerShowsDifference;
    label_->setText(text.in(settings_.Language));
    label_->adjustSize();
    label_->raise();
}

const QImage& ViewerComparison::originalImage() {
    static const QImage none;
    // Only beside a recompressed picture: a load that failed leaves the viewer empty.
    if (!picture_.picture().graphic()) {
        return none;
    }
    if (!originalReady_) {
        originalReady_ = true;
        // Drawn from the kept picture's own rows where it can be: no copy of a large picture.
        const TBitmap* bitmap = drawnBitmap(original_.graphic());
        originalImage_ = bitmap ? bitmapView(*bitmap, originalUpsideDown_) : QImage();
    }
    return originalImage_;
}

const QImage& ViewerComparison::differenceImage() {
    static const QImage none;
    if (originalImage().isNull()) {
        return none;
    }
    if (!differenceReady_) {
        differenceReady_ = true;
        differenceImage_ = QImage(); // the old one goes before the new one is made
        const TBitmap* loaded = drawnBitmap(original_.graphic());
        const TBitmap* recompressed = drawnBitmap(picture_.picture().graphic());
        if (loaded && recompressed) {
            differenceImage_ = AmplifiedDifference::of(*loaded, *recompressed);
        }
    }
    return differenceImage_;
}
