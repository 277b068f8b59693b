#include "app/DisplayProbe.h"

#include <QLibrary>
#include <QtGlobal>

namespace {

// A C function of a library found at run time: the program itself links neither libxcb nor
// libwayland-client; Qt's platforms load them.
template <typename Function> Function* symbol(QLibrary& library, const char* name) {
    return reinterpret_cast<Function*>(library.resolve(name));
}

// libxcb is what Qt's X11 platform connects with: the same DISPLAY, host and authority.
bool xServerAnswers() {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        return false;
    }
    QLibrary xcb("xcb", 1);
    const auto connect = symbol<void*(const char*, int*)>(xcb, "xcb_connect");
    const auto hasError = symbol<int(void*)>(xcb, "xcb_connection_has_error");
    const auto disconnect = symbol<void(void*)>(xcb, "xcb_disconnect");
    if (!connect || !hasError || !disconnect) {
        return false;
    }
    void* connection = connect(nullptr, nullptr);
    const bool answers = hasError(connection) == 0;
    disconnect(connection);
    return answers;
}

// Qt tries Wayland only in a Wayland session. A socket named without its folder is looked for
// in XDG_RUNTIME_DIR; without that folder the library would add a line of its own to the user's.
bool waylandWorthAsking() {
    const QByteArray socket = qgetenv("WAYLAND_DISPLAY");
    const bool session = !socket.isEmpty() || qgetenv("XDG_SESSION_TYPE") == "wayland";
    return session && (socket.startsWith('/') || !qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"));
}

// A compositor that answers is taken as enough, even if Qt's Wayland platform should be
// missing: better Qt's own message then than a refusal to start on a display that works.
bool waylandCompositorAnswers() {
    if (!waylandWorthAsking()) {
        return false;
    }
    QLibrary wayland("wayland-client", 0);
    const auto connect = symbol<void*(const char*)>(wayland, "wl_display_connect");
    const auto disconnect = symbol<void(void*)>(wayland, "wl_display_disconnect");
    if (!connect || !disconnect) {
        return false;
    }
    void* display = connect(nullptr);
    if (display) {
        disconnect(display);
    }
    return display != nullptr;
}

} // namespace

bool DisplayProbe::windowCanOpen(bool platformChosenOnCommandLine) {
    return platformChosenOnCommandLine || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
           waylandCompositorAnswers() || xServerAnswers();
}

QString DisplayProbe::missingText() {
    return "trevano: there is no display to show the window on; 'trevano --batch' works without "
           "one, and 'xvfb-run trevano' runs the window in a virtual screen.\n";
}
