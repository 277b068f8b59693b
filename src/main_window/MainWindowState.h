#pragma once

#include <QString>

// What the main window's handlers share with each other and with the other windows. The
// loaded file's full path is not here: it is Edit1's text.
struct MainWindowState {
    // The quality chosen on the slider, and the one the preview on screen was made with.
    int CurrentQuality = 0;
    int CompressedQuality = 100;
    // The similarity the last search asked for, which the next one offers.
    double SimilarityAim = 0.95;
    // The loaded file's extension with its dot, as written in its name (".jpg", ".JPG").
    QString SourceExtension;
    // The loaded picture's size, and the top of a centred picture in the panes.
    int PictureWidth = 0;
    int PictureHeight = 0;
    int PictureTop = 0;
    // Left positions of Label1 and Label5 at real size, put back when leaving fit mode.
    int QualityLabelLeft = 0;
    int SourceLabelLeft = 0;
    // The free-memory gauge's last reading.
    int FreeMemoryPercent = 0;
    // Set while a load, recompression, save or rotation runs and lets messages through:
    // a click that would start another one meanwhile is ignored.
    bool Busy = false;
};
