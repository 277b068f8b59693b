#include "windows/TForm2.h"

#include "platform/desktop/ScreenSize.h"
#include "settings/Settings.h"
#include "settings/Texts.h"
#include "ui/DesignFont.h"
#include "ui/MessagePump.h"
#include "ui/ScreenCentring.h"
#include "ui/TImage.h"
#include "windows/ViewerComparison.h"
#include "windows/ViewerCursor.h"

#include <QShowEvent>

namespace {

// What the window adds around the picture: a thin frame and the caption bar.
constexpr int FrameWidth = 9;
constexpr int FrameHeight = 27;

} // namespace

TForm2::TForm2(Settings& settings, ScreenSize& screen, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), settings_(settings), screen_(screen) {
    setObjectName("Form2");
    setWindowTitle(DesignCaption);
    setFont(designFont(11));
    // Only the program sizes the viewer, to its picture: the user's frame has no handles.
    setFixedSize(DesignClientSize);
    // Closing the viewer only hides it; the main window alone ends the program.
    setAttribute(Qt::WA_QuitOnClose, false);
    Image4 = new TImage("Image4", this);
    Image4->setAutoSize(true);
    Image4->setScreenPixels(true); // the viewer is there to show the picture pixel for pixel
    Image4->resize(0, 0);
    Image4->setCursor(ViewerCursor::openHand());
    connect(Image4, &TImage::mouseDown, this, [this] { Image4MouseDown(); });
    connect(Image4, &TImage::mouseUp, this, [this] { Image4MouseUp(); });
    connect(Image4, &TImage::mouseMove, this, [this](QPoint at) { Image4MouseMove(at); });
    connect(Image4, &TImage::doubleClicked, this, [this] { Image4DblClick(); });
    Comparison = new ViewerComparison(*this, *Image4, settings);
}

void TForm2::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous()) {
        return; // a restore by the window manager is no new showing
    }
    centreOnScreen(*this, screen_.size());
    Image4->move(0, 0);
    Image4->setToolTip(Texts::ViewerHint.in(settings_.Language));
}

QSize TForm2::frameAllowance() const {
    // Known once a window manager has framed the window; nothing before that.
    return frameGeometry().size() - geometry().size();
}

void TForm2::fitToPicture() {
    QSize outer(Image4->width() + FrameWidth, Image4->height() + FrameHeight);
    const QSize screen = screen_.size();
    outer = outer.boundedTo(screen);
    setFixedSize(outer - frameAllowance());
    if (x() < 0) {
        move(0, y());
    }
}

void TForm2::Image4MouseDown() {
    dragging_ = true;
}

void TForm2::Image4MouseUp() {
    dragging_ = false;
}

void TForm2::Image4MouseMove(QPoint position) {
    if (dragging_) {
        Image4->move(Image4->pos() + position - lastPosition_);
        // Painted at once; a move handled meanwhile still sees the previous last position,
        // which is why the picture lags behind the pointer.
        MessagePump::processMessages();
    }
    lastPosition_ = position;
}

void TForm2::Image4DblClick() {
    hide();
}
