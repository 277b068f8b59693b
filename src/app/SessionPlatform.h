#pragma once

#include <QByteArray>
#include <functional>

// The Qt platform the program asks for in the session it was started in. In a Wayland session
// it goes through XWayland when that is there: a Wayland compositor places windows itself,
// keeps no window above the others on request, and the help window's outline needs an input
// shape. A platform the user chose (QT_QPA_PLATFORM, or -platform) is left alone.
class SessionPlatform {
public:
    // The value of an environment variable, empty when unset.
    using Environment = std::function<QByteArray(const char* name)>;

    // The platform to ask for, or an empty name to leave Qt's choice.
    static QByteArray choose(const Environment& environment, bool chosenOnCommandLine);

    // Sets QT_QPA_PLATFORM for the application object about to be made.
    static void apply(bool chosenOnCommandLine);
};
