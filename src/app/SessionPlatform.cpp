#include "app/SessionPlatform.h"

#include <QtGlobal>

QByteArray SessionPlatform::choose(const Environment& environment, bool chosenOnCommandLine) {
    if (chosenOnCommandLine || !environment("QT_QPA_PLATFORM").isEmpty()) {
        return {};
    }
    const bool wayland =
        !environment("WAYLAND_DISPLAY").isEmpty() || environment("XDG_SESSION_TYPE") == "wayland";
    // Without an X server to reach there is nothing to go through.
    if (wayland && !environment("DISPLAY").isEmpty()) {
        return "xcb";
    }
    return {};
}

void SessionPlatform::apply(bool chosenOnCommandLine) {
    const QByteArray platform =
        choose([](const char* name) { return qgetenv(name); }, chosenOnCommandLine);
    if (!platform.isEmpty()) {
        qputenv("QT_QPA_PLATFORM", platform);
    }
}
