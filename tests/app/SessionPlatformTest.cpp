#include "app/SessionPlatform.h"

#include <QMap>
#include <gtest/gtest.h>

namespace {

QByteArray chosenIn(const QMap<QByteArray, QByteArray>& variables, bool onCommandLine = false) {
    return SessionPlatform::choose([&](const char* name) { return variables.value(name); },
                                   onCommandLine);
}

} // namespace

TEST(SessionPlatform, AWaylandSessionWithXWaylandGoesThroughX) {
    EXPECT_EQ(chosenIn({{"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":0"}}), "xcb");
    EXPECT_EQ(chosenIn({{"XDG_SESSION_TYPE", "wayland"}, {"DISPLAY", ":1"}}), "xcb");
}

TEST(SessionPlatform, OtherSessionsAndChosenPlatformsAreLeftToQt) {
    EXPECT_EQ(chosenIn({{"DISPLAY", ":0"}, {"XDG_SESSION_TYPE", "x11"}}), "");
    EXPECT_EQ(chosenIn({}), "");
    // No XWayland: the native platform is better than none.
    EXPECT_EQ(chosenIn({{"WAYLAND_DISPLAY", "wayland-0"}}), "");
    EXPECT_EQ(
        chosenIn(
            {{"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":0"}, {"QT_QPA_PLATFORM", "wayland"}}),
        "");
    EXPECT_EQ(chosenIn({{"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":0"}}, true), "");
}
