#pragma once

#include <QSize>

class QWidget;

// Puts a window in the middle of a screen of `screen` size by its outer size, frame
// included: left = (screen width - window width) / 2, top likewise.
void centreOnScreen(QWidget& window, QSize screen);
