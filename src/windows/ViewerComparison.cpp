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
QImage drawnImage(TGraphic* graphic) {
    try {
        const TBitmap* bitmap = graphic ? graphic->drawingBitmap() : nullptr;
        return bitmap ? bitmapImage(*bitmap) : QImage();
    } catch (const Exception&) {
        return {}; // the operation that made the picture has reported it
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
    const View view = wanted();
    const QImage none;
    const QImage& image = view == View::Original     ? originalImage()
                          : view == View::Difference ? differenceImage()
                                                     : none;
    shown_ = image.isNull() ? View::Recompressed : view;
    overlay_->setVisible(shown_ != View::Recompressed);
    label_->setVisible(shown_ != View::Recompressed);
    if (shown_ == View::Recompressed) {
        return;
    }
    overlay_->setImage(image);
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
        originalImage_ = drawnImage(original_.graphic());
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
        differenceImage_ =
            AmplifiedDifference::of(originalImage(), drawnImage(picture_.picture().graphic()));
    }
    return differenceImage_;
}
