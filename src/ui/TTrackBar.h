#pragma once

#include <QSlider>

// A horizontal slider with ticks below its track and a selection band: the part of the
// track between the selection's two positions is drawn in the highlight colour.
class TTrackBar : public QSlider {
    Q_OBJECT

public:
    TTrackBar(const QString& objectName, QWidget* parent);

    void setSelection(int start, int end);
    int selStart() const { return selStart_; }
    int selEnd() const { return selEnd_; }

    // Where the band is drawn, in the slider's coordinates; empty when there is no selection.
    QRect selectionBandRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int centreOfValue(int value, const QRect& groove, int handleWidth) const;

    int selStart_ = 0;
    int selEnd_ = 0;
};
