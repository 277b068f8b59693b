#include "ui/TImage.h"

#include "core/Exception.h"
#include "imaging/bmp/TBitmap.h"
#include "ui/BitmapImage.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>
#include <vector>

namespace {

// The picture with its pixels of the bottom-left pixel's colour see-through.
QImage withoutCornerColour(const QImage& image) {
    QImage keyed = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QRgb key = keyed.pixel(0, keyed.height() - 1) & RGB_MASK;
    for (int y = 0; y < keyed.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(keyed.scanLine(y));
        for (int x = 0; x < keyed.width(); ++x) {
            if ((row[x] & RGB_MASK) == key) {
                row[x] = 0;
            }
        }
    }
    return keyed;
}

// Every pane alive, so one can take another's drawing of the same pixels.
std::vector<const TImage*>& livePanes() {
    static std::vector<const TImage*> panes;
    return panes;
}

} // namespace

TImage::TImage(const QString& objectName, QWidget* parent) : QWidget(parent) {
    setObjectName(objectName);
    livePanes().push_back(this);
    // Moves are reported with no button held too, as the viewer's drag needs the last one.
    setMouseTracking(true);
    picture_.OnChange = [this](TPicture&) { pictureChanged(); };
}

TImage::~TImage() {
    std::erase(livePanes(), this);
}

void TImage::setGraphic(const TGraphic* graphic) {
    picture_.assign(graphic); // the copy's change notification repaints
}

void TImage::pictureChanged() {
    if (converting_) {
        return; // a JPEG picture that decodes to be drawn tells of its new palette
    }
    imageReady_ = false;
    image_ = QImage(); // it may show the pixels of the picture just replaced
    pixels_ = nullptr;
    if (autoSize_ && picture_.graphic() && !picture_.graphic()->empty()) {
        resize(shownSize({picture_.graphic()->width(), picture_.graphic()->height()}));
    }
    update();
}

const QImage& TImage::shownImage() {
    if (!imageReady_) {
        imageReady_ = true; // a picture that cannot be decoded is not tried at every paint
        image_ = QImage();
        TGraphic* graphic = picture_.graphic();
        converting_ = true;
        try {
            const TBitmap* bitmap = graphic ? graphic->drawingBitmap() : nullptr;
            if (bitmap) {
                image_ = drawingOf(*bitmap);
            }
        } catch (const Exception&) {
            // Damaged data shows as an empty pane; the operation that loaded it reports it.
        }
        converting_ = false;
    }
    return image_;
}

QImage TImage::drawingOf(const TBitmap& bitmap) {
    // Copies of a picture share its pixels: the pane and the viewer showing the same
    // preview convert it once. Two live pictures never share an address unless they share
    // their pixels.
    pixels_ = bitmap.height() > 0 ? bitmap.scanLine(0) : nullptr;
    for (const TImage* other : livePanes()) {
        if (other != this && pixels_ && other->imageReady_ && other->pixels_ == pixels_ &&
            other->transparent_ == transparent_ && !other->image_.isNull()) {
            upsideDown_ = other->upsideDown_;
            return other->image_;
        }
    }
    if (transparent_) {
        // The colour left out is read from the picture's corner: a converted copy.
        upsideDown_ = false;
        const QImage image = bitmapImage(bitmap);
        return image.isNull() ? image : withoutCornerColour(image);
    }
    // The pane's own copy of the picture keeps the pixels alive as long as the view is kept.
    return bitmapView(bitmap, upsideDown_);
}

QRect TImage::destinationRect(QSize pictureSize, QSize paneSize, bool stretch, bool proportional,
                              bool center) {
    int w = pictureSize.width();
    int h = pictureSize.height();
    const int cw = paneSize.width();
    const int ch = paneSize.height();
    const bool larger = w > cw || h > ch;
    if ((stretch || (proportional && larger)) && w > 0 && h > 0) {
        if (!proportional) {
            w = cw;
            h = ch;
        } else {
            // Keep the aspect ratio; small pictures are enlarged too.
            const double ratio = static_cast<double>(w) / h;
            if (w > h) {
                w = cw;
                h = static_cast<int>(cw / ratio);
                if (h > ch) {
                    h = ch;
                    w = static_cast<int>(ch * ratio);
                }
            } else {
                h = ch;
                w = static_cast<int>(ch * ratio);
                if (w > cw) {
                    w = cw;
                    h = static_cast<int>(cw / ratio);
                }
            }
        }
    }
    QPoint topLeft(0, 0);
    if (center) {
        topLeft = QPoint((cw - w) / 2, (ch - h) / 2); // divisions truncated towards zero
    }
    return QRect(topLeft, QSize(w, h));
}

qreal TImage::pixelRatio() const {
    return screenPixels_ ? devicePixelRatioF() : 1.0;
}

QSize TImage::shownSize(QSize pictureSize) const {
    const qreal ratio = pixelRatio();
    return {static_cast<int>(std::ceil(pictureSize.width() / ratio)),
            static_cast<int>(std::ceil(pictureSize.height() / ratio))};
}

void TImage::paintEvent(QPaintEvent*) {
    const QImage& image = shownImage();
    if (image.isNull()) {
        return;
    }
    QPainter painter(this);
    // Laid out in the screen's own pixels when the pane counts them: on a screen scaled by 2,
    // real size still shows one picture pixel per screen pixel, and fit mode fills the same
    // part of the pane.
    const qreal ratio = pixelRatio();
    const QSize pane = (QSizeF(size()) * ratio).toSize();
    const QRect target = destinationRect(image.size(), pane, stretch_, proportional_, center_);
    painter.scale(1 / ratio, 1 / ratio);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, target.size() != image.size());
    if (upsideDown_) {
        // Mirrored across the target's middle line: its top edge and its bottom edge swap.
        painter.translate(0, 2 * target.top() + target.height());
        painter.scale(1, -1);
    }
    painter.drawImage(target, image);
}

void TImage::setTransparent(bool on) {
    if (transparent_ != on) {
        imageReady_ = false;
        setFlag(transparent_, on);
    }
}

void TImage::setFlag(bool& flag, bool on) {
    if (flag != on) {
        flag = on;
        update();
    }
}

void TImage::mousePressEvent(QMouseEvent* event) {
    emit mouseDown(event->button(), event->position().toPoint());
}

void TImage::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint position = event->position().toPoint();
    emit mouseUp(event->button(), position);
    // A click is a press and a release on the pane.
    if (rect().contains(position)) {
        emit clicked();
    }
}

void TImage::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMove(event->position().toPoint());
}

void TImage::mouseDoubleClickEvent(QMouseEvent*) {
    emit doubleClicked();
}
