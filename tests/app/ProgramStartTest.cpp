#include "QStringPrinter.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

bool waitForFile(const QString& fileName, int milliseconds) {
    for (int waited = 0; waited < milliseconds; waited += 50) {
        if (QFileInfo(fileName).size() > 0) {
            return true;
        }
        QThread::msleep(50);
    }
    return false;
}

} // namespace

// The real program, started as a user would start it (on an offscreen display).
TEST(Program, FirstStartCreatesTheSettingsWithItsOwnFolderAndKeepsRunning) {
    QTemporaryDir folder;
    const QString settingsFile = folder.filePath("config/Trevano/Trevano_V2.0.ini");
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("TREVANO_SETTINGS", settingsFile);
    program.setProcessEnvironment(environment);
    program.start(TREVANO_PROGRAM, {});
    ASSERT_TRUE(program.waitForStarted(5000));

    ASSERT_TRUE(waitForFile(settingsFile, 10000));
    EXPECT_FALSE(program.waitForFinished(1000)) << "the program ended by itself";
    program.kill();
    program.waitForFinished(5000);

    const QString programFolder = QFileInfo(TREVANO_PROGRAM).absolutePath() + "/";
    QFile file(settingsFile);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString contents = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(contents.contains("Language=English")) << contents.toStdString();
    EXPECT_TRUE(contents.contains("Path=" + programFolder)) << contents.toStdString();
    // The companion tool is found by appending its bare name to that folder.
    EXPECT_TRUE(QFileInfo(programFolder + "jpegtran").isExecutable());
}

// Asked from a terminal with no display at all: printed, not a window.
TEST(Program, PrintsItsVersionAndUsageWithoutADisplay) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        environment.remove(name);
    }
    struct Row {
        QStringList arguments;
        int exitCode;
        QString shown;
    };
    const Row rows[] = {
        {{"--version"}, 0, QString("Trevano ") + TREVANO_VERSION + "\n"},
        {{"--help"}, 0, "Usage: "},
        {{"--frobnicate"},
         2,
         "trevano: Unknown option 'frobnicate'.\nTry 'trevano --help' for the options.\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments.join(' ').toStdString());
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(TREVANO_PROGRAM, row.arguments);
        ASSERT_TRUE(program.waitForFinished(10000));
        EXPECT_EQ(program.exitCode(), row.exitCode);
        const QString shown = QString::fromLocal8Bit(
            row.exitCode == 0 ? program.readAllStandardOutput() : program.readAllStandardError());
        EXPECT_TRUE(shown.startsWith(row.shown)) << shown.toStdString();
    }
}
