#include "ui/TTrackBar.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionSlider>

TTrackBar::TTrackBar(const QString& objectName, QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    setObjectName(objectName);
    setTickPosition(QSlider::TicksBelow);
    setTickInterval(1);
}

void TTrackBar::setSelection(int start, int end) {
    selStart_ = start;
    selEnd_ = end;
    update();
}

QRect TTrackBar::selectionBandRect() const {
    if (selEnd_ <= selStart_) {
        return {};
    }
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect groove =
        style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
    const QRect handle =
        style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    const int left = centreOfValue(selStart_, groove, handle.width());
    const int right = centreOfValue(selEnd_, groove, handle.width());
    // Inside the groove's outline, so the band reads as part of the track.
    return QRect(QPoint(left, groove.top() + 1), QPoint(right, groove.bottom() - 1));
}

int TTrackBar::centreOfValue(int value, const QRect& groove, int handleWidth) const {
    const int span = groove.width() - handleWidth;
    return groove.left() + handleWidth / 2 +
           QStyle::sliderPositionFromValue(minimum(), maximum(), value, span);
}

void TTrackBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QStyleOptionSlider option;
    initStyleOption(&option);
    option.subControls = QStyle::SC_SliderGroove | QStyle::SC_SliderTickmarks;
    style()->drawComplexControl(QStyle::CC_Slider, &option, &painter, this);
    painter.fillRect(selectionBandRect(), palette().color(QPalette::Highlight));
    option.subControls = QStyle::SC_SliderHandle;
    style()->drawComplexControl(QStyle::CC_Slider, &option, &painter, this);
}
