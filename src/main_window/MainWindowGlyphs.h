#pragma once

#include <QPixmap>
#include <vector>

// The pictures on the main window's buttons, its image list and its icon.
class MainWindowGlyphs {
public:
    static QPixmap load();
    static QPixmap save();
    static QPixmap rotate();
    static QPixmap help();
    static QPixmap frenchFlag();
    static QPixmap britishFlag();
    // Seven 18 x 18 glyphs: up arrow, down arrow, frame at the top-left corner, centred
    // frame, monitor, eye, framed picture.
    static std::vector<QPixmap> imageList();
    static QPixmap windowIcon();
};
