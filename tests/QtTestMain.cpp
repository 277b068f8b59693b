#include <QApplication>
#include <QStyleFactory>
#include <gtest/gtest.h>

// The window tests' main: one application object for the whole run, in the program's style.
int main(int argc, char** argv) {
    // The test list is also read at build time, where no display may be set.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
