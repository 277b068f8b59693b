#pragma once

#include <QProgressBar>
#include <cstdint>

// A progress bar without text whose bar colour can be set from a Windows colour value.
class TProgressBar : public QProgressBar {
    Q_OBJECT

public:
    TProgressBar(const QString& objectName, QWidget* parent);

    // `windowsColor` is 0x00BBGGRR.
    void setBarColor(std::uint32_t windowsColor);
    QColor barColor() const;

    // A continuous bar rather than one drawn in blocks.
    void setSmooth(bool smooth) { smooth_ = smooth; }
    bool smooth() const { return smooth_; }

private:
    bool smooth_ = false;
};
