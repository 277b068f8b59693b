#pragma once

#include <QString>

// Whether the window has a screen to open on, found before the application object is made:
// Qt aborts the program, core dump and all, when none of the platforms it tries can start.
// The X server and the Wayland compositor Qt would try are asked first, through the libraries
// its own platforms connect with, so that a missing display ends with a sentence instead. A
// platform the user chose (QT_QPA_PLATFORM, -platform) is taken at its word.
class DisplayProbe {
public:
    static bool windowCanOpen(bool platformChosenOnCommandLine);
    // Said on the error stream when it cannot.
    static QString missingText();
};
