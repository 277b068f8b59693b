#include "ui/TProgressBar.h"

#include "ui/WindowsColor.h"

TProgressBar::TProgressBar(const QString& objectName, QWidget* parent) : QProgressBar(parent) {
    setObjectName(objectName);
    setRange(0, 100);
    setValue(0);
    setTextVisible(false);
}

void TProgressBar::setBarColor(std::uint32_t windowsColor) {
    QPalette colours = palette();
    colours.setColor(QPalette::Highlight, fromWindowsColor(windowsColor));
    setPalette(colours);
}

QColor TProgressBar::barColor() const {
    return palette().color(QPalette::Highlight);
}
